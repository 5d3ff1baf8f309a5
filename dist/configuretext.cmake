# SPDX-License-Identifier: GPL-3.0-or-later
# Text files in which the parts that name an address are left out while no address is set, and
# the AppStream metadata built that way. Included by dist/CMakeLists.txt; the install check also
# runs it as a script, to validate the metadata with addresses as well as without:
#   cmake -DQUILLON_APP_ID=... -DQUILLON_LICENSE=... -DPROJECT_VERSION=...
#         -DQUILLON_RELEASE_DATE=... [-DQUILLON_HOMEPAGE=...] [-DQUILLON_SCREENSHOTS_URL=...]
#         -DMETAINFO_OUTPUT=FILE -P dist/configuretext.cmake

# Configures `input` into `output` (rewritten only when it changes); the lines that optional
# parts leave empty go too.
function(quillon_configure_dropping_empty_lines input output)
    file(READ ${input} text)
    string(CONFIGURE "${text}" text @ONLY)
    string(REGEX REPLACE "\n[ ]*\n" "\n" text "${text}")
    file(WRITE ${output}.new "${text}")
    file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
    file(REMOVE ${output}.new)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
    endif()
endfunction()

# The metadata names a homepage and screenshots (the pictures in docs/) only where they are
# published.
function(quillon_write_metainfo output)
    set(QUILLON_METAINFO_HOMEPAGE "")
    if(QUILLON_HOMEPAGE)
        set(QUILLON_METAINFO_HOMEPAGE "  <url type=\"homepage\">${QUILLON_HOMEPAGE}</url>")
    endif()
    set(QUILLON_METAINFO_SCREENSHOTS "")
    if(QUILLON_SCREENSHOTS_URL)
        string(REGEX REPLACE "/+$" "" base "${QUILLON_SCREENSHOTS_URL}")
        string(APPEND base "/")
        set(default " type=\"default\"")
        foreach(shot IN ITEMS "main-window|The list of files halfway through a run"
                              "output-path|Choosing where the MP3 files go"
                              "folder-picker|Picking the output folder")
            string(REPLACE "|" ";" shot "${shot}")
            list(GET shot 0 picture)
            list(GET shot 1 caption)
            string(APPEND QUILLON_METAINFO_SCREENSHOTS
                "    <screenshot${default}>\n"
                "      <caption>${caption}</caption>\n"
                "      <image>${base}${picture}.png</image>\n"
                "    </screenshot>\n")
            set(default "")
        endforeach()
        set(QUILLON_METAINFO_SCREENSHOTS
            "  <screenshots>\n${QUILLON_METAINFO_SCREENSHOTS}  </screenshots>")
    endif()
    quillon_configure_dropping_empty_lines(${CMAKE_CURRENT_LIST_DIR}/quillon.metainfo.xml.in
                                           ${output})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    quillon_write_metainfo(${METAINFO_OUTPUT})
endif()
