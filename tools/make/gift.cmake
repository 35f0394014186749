# SPDX-License-Identifier: GPL-3.0-or-later
# The GIFT reader of corvane-make: turns a GIFT quiz file into test source. A library of its
# own so that its tests and its fuzzer link it.
add_library(corvane_gift STATIC
    ${CMAKE_CURRENT_LIST_DIR}/gift_convert.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gift_import.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gift_markdown.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gift_question.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gift_scan.cpp
)
target_include_directories(corvane_gift PUBLIC ${CMAKE_SOURCE_DIR})
# It shares the make library's rules for answers and names, and md4c's entity table.
target_link_libraries(corvane_gift PUBLIC corvane_make_lib)

# corvane-make reads a .gift file through it.
if(TARGET corvane-make)
    target_link_libraries(corvane-make PRIVATE corvane_gift)
endif()
