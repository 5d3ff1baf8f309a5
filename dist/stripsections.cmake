# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files before it packs them: CPack's own strip keeps the compiler's
# .comment and .note sections, which Debian packages leave out (as dh_strip does). Each package's
# files are staged in a folder of their own.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/*/usr/bin/*")
if(NOT programs)
    message(FATAL_ERROR "no staged programs under '${CPACK_TEMPORARY_DIRECTORY}'")
endif()
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_STRIP}" --remove-section=.comment --remove-section=.note
                            "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
