# SPDX-License-Identifier: GPL-3.0-or-later
# The package's version. In git it is the changelog's version followed by the commit's time
# (UTC) and hash, 1.0.0+git20261209.183000.gdb318b2a: the time rises from commit to commit and a
# shallow clone has it too, so every later build is a higher version, tagged or not (a tag
# changes nothing). A release raises the changelog's version, which outranks every build
# before it. Outside git the changelog's version is used as it is.
#   in:  CHANGELOG_VERSION, and VERSION_SOURCE_DIR (default: CMAKE_SOURCE_DIR)
#   out: CORVANE_VERSION; in git also CORVANE_COMMIT (the hash) and CORVANE_COMMIT_DATE (as a
#        Debian changelog writes it)
# `cmake -DCHANGELOG_VERSION=1.0.0 -DVERSION_SOURCE_DIR=DIR -P version.cmake` prints the
# version of the checkout DIR.
if(NOT VERSION_SOURCE_DIR)
    set(VERSION_SOURCE_DIR ${CMAKE_SOURCE_DIR})
endif()
find_package(Git QUIET)
set(CORVANE_VERSION ${CHANGELOG_VERSION})
set(CORVANE_COMMIT "")
set(CORVANE_COMMIT_DATE "")
if(GIT_FOUND AND EXISTS ${VERSION_SOURCE_DIR}/.git)
    # The commit's time in UTC and hash; then its time as a Debian changelog writes it.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 ${GIT_EXECUTABLE} log -1 --abbrev=8
                --date=format-local:%Y%m%d.%H%M%S --format=%cd.g%h HEAD
        WORKING_DIRECTORY ${VERSION_SOURCE_DIR}
        OUTPUT_VARIABLE stamp RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed EQUAL 0 AND stamp MATCHES "^[0-9]+\\.[0-9]+\\.g([0-9a-f]+)$")
        set(CORVANE_COMMIT ${CMAKE_MATCH_1})
        set(CORVANE_VERSION ${CHANGELOG_VERSION}+git${stamp})
        execute_process(
            COMMAND ${GIT_EXECUTABLE} log -1 "--date=format:%a, %d %b %Y %H:%M:%S %z" --format=%cd
                    HEAD
            WORKING_DIRECTORY ${VERSION_SOURCE_DIR}
            OUTPUT_VARIABLE CORVANE_COMMIT_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
    else()
        message(WARNING "git gives no commit in ${VERSION_SOURCE_DIR}: the version is the "
                        "changelog's, ${CHANGELOG_VERSION}")
    endif()
    # A new commit configures again, so that the version follows it.
    foreach(ref HEAD packed-refs)
        if(EXISTS ${VERSION_SOURCE_DIR}/.git/${ref} AND NOT CMAKE_SCRIPT_MODE_FILE)
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                                                   ${VERSION_SOURCE_DIR}/.git/${ref})
        endif()
    endforeach()
endif()
if(CMAKE_SCRIPT_MODE_FILE)
    message(NOTICE ${CORVANE_VERSION})
endif()
