# SPDX-License-Identifier: GPL-3.0-or-later
# The package's version, from git: the newest tag vX.Y.Z gives X.Y.Z on the tagged commit and
# X.Y.Z+N.gHASH N commits later, so that every build upgrades the one before. Without such a tag
# every commit of the history is counted after the changelog's version; outside git the
# changelog's version is used as it is.
#   in:  CHANGELOG_VERSION
#   out: CORVANE_VERSION, CORVANE_COMMIT_DATE (as a Debian changelog writes it; empty outside
#        git), and between releases CORVANE_COMMITS and CORVANE_COMMIT (the count and the hash)
find_package(Git QUIET)
set(CORVANE_VERSION ${CHANGELOG_VERSION})
set(CORVANE_COMMIT_DATE "")
if(GIT_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
    execute_process(
        COMMAND ${GIT_EXECUTABLE} describe --tags --long --match "v[0-9]*" --abbrev=8 HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE described RESULT_VARIABLE no_tag ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(no_tag EQUAL 0 AND described MATCHES "^v([0-9][^-]*)-([0-9]+)-g([0-9a-f]+)$")
        set(base ${CMAKE_MATCH_1})
        set(CORVANE_COMMITS ${CMAKE_MATCH_2})
        set(CORVANE_COMMIT ${CMAKE_MATCH_3})
    else()
        message(WARNING "No tag v${CHANGELOG_VERSION} in git: the version counts every commit")
        set(base ${CHANGELOG_VERSION})
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE CORVANE_COMMITS OUTPUT_STRIP_TRAILING_WHITESPACE)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=8 HEAD
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE CORVANE_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    set(CORVANE_VERSION ${base})
    if(NOT CORVANE_COMMITS EQUAL 0)
        set(CORVANE_VERSION ${base}+${CORVANE_COMMITS}.g${CORVANE_COMMIT})
    endif()
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cd
                            "--date=format:%a, %d %b %Y %H:%M:%S %z" HEAD
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE CORVANE_COMMIT_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
    # A new commit or tag configures again, so that the version follows it.
    foreach(ref HEAD packed-refs)
        if(EXISTS ${CMAKE_SOURCE_DIR}/.git/${ref})
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/.git/${ref})
        endif()
    endforeach()
endif()
