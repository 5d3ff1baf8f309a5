# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages: `make package` (scripts/package.sh) installs under /usr with Debian's build
# flags and turns each install component into a .deb with CPack: quillon-cli (the command line,
# which needs no Qt) and quillon (the window). `make package-check` checks both.

set(QUILLON_MAINTAINER "" CACHE STRING
    "Maintainer named in the Debian packages, as \"Full Name <address>\"")
option(QUILLON_LOCAL_BUILD
       "Packages for this machine only: without a maintainer, they name none that can be written to"
       OFF)
option(QUILLON_INSTALL_DEBIAN_DOCS
       "Install the copyright file and changelog that a Debian package carries" OFF)

# A package names its maintainer, and nobody may be named who did not say so: one is required
# unless the packages are declared local, which get an address under .invalid (RFC 2606), one
# that can never reach anyone.
set(maintainer "${QUILLON_MAINTAINER}")
if(QUILLON_INSTALL_DEBIAN_DOCS)
    if(maintainer STREQUAL "" AND QUILLON_LOCAL_BUILD)
        set(maintainer "Quillon local build <local-build@quillon.invalid>")
    elseif(maintainer STREQUAL "")
        message(FATAL_ERROR
            "No maintainer for the Debian packages. Name one:\n"
            "  make package QUILLON_MAINTAINER='Full Name <address>'\n"
            "(or DEBFULLNAME and DEBEMAIL in the environment), or build packages for this "
            "machine only:\n"
            "  make package LOCAL_BUILD=1")
    elseif(NOT maintainer MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
        message(FATAL_ERROR
            "QUILLON_MAINTAINER='${maintainer}' is not of the form 'Full Name <address>'")
    endif()
endif()

if(QUILLON_INSTALL_DEBIAN_DOCS)
    # The changelog wants the release day in the mail-header form.
    execute_process(COMMAND date -u -R -d "${QUILLON_RELEASE_DATE} 12:00"
                    OUTPUT_VARIABLE QUILLON_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    set(QUILLON_COPYRIGHT_SOURCE "")
    if(QUILLON_HOMEPAGE)
        set(QUILLON_COPYRIGHT_SOURCE "\nSource: ${QUILLON_HOMEPAGE}")
    endif()
    set(QUILLON_CHANGELOG_MAINTAINER "${maintainer}")
    configure_file(debian/copyright.in ${generated}/copyright @ONLY)
    configure_file(debian/changelog.in ${generated}/changelog @ONLY)
    add_custom_command(OUTPUT ${generated}/changelog.gz
        COMMAND ${GZIP} -9nkf ${generated}/changelog
        DEPENDS ${generated}/changelog
        VERBATIM)
    add_custom_target(quillon_changelog ALL DEPENDS ${generated}/changelog.gz)
    # Each package carries both under its own name.
    set(packages cli quillon-cli)
    if(QUILLON_BUILD_GUI)
        list(APPEND packages gui quillon)
    endif()
    while(packages)
        list(POP_FRONT packages component package)
        install(FILES ${generated}/copyright ${generated}/changelog.gz
                DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    endwhile()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(QUILLON_BUILD_GUI)
    list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "${maintainer}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/stripsections.cmake)
# Both come from one source; each has its own summary, the description's first line. CPack would
# put the project's description in front of both, unless the summary is left at its default.
set(CPACK_DEBIAN_PACKAGE_SOURCE quillon)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_DEBIAN_CLI_PACKAGE_NAME quillon-cli)
set(CPACK_DEBIAN_GUI_PACKAGE_NAME quillon)
string(CONCAT about
    "Quillon pulls the MP3 audio out of Flash Video (FLV) files: it reads each file\n"
    "tag by tag and writes the MP3 stream that was put into the container to a file\n"
    "of its own, byte for byte, without re-encoding it.\n"
    "\n")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
    "extract the MP3 audio stream from Flash Video files\n"
    "${about}"
    "This package holds the command-line tool quillon-cli, for scripts, servers and\n"
    "containers: it needs no display and no Qt.")
string(CONCAT CPACK_DEBIAN_GUI_DESCRIPTION
    "extract the MP3 audio stream from Flash Video files in a window\n"
    "${about}"
    "This package holds the Qt window quillon, which lists files from a file dialog,\n"
    "from drops or from its command line. The command-line tool is in quillon-cli.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(QUILLON_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLON_HOMEPAGE}")
endif()
# Depends comes from the shared libraries the installed programs load, as dpkg-shlibdeps sees
# them: nothing of the build's own tool chain ends up in it, and no Qt in quillon-cli.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
