# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `make package` (scripts/package.sh) installs under /usr with Debian's build
# flags and turns the result into a .deb with CPack; `make package-check` runs lintian on it.

set(QUILLON_MAINTAINER "The Quillon developers <quillon-devel@lists.sourceforge.net>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")
option(QUILLON_INSTALL_DEBIAN_DOCS
       "Install the copyright file and changelog that a Debian package carries" OFF)

if(QUILLON_INSTALL_DEBIAN_DOCS)
    # The changelog wants the release day in the mail-header form.
    execute_process(COMMAND date -u -R -d "${QUILLON_RELEASE_DATE} 12:00"
                    OUTPUT_VARIABLE QUILLON_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    configure_file(debian/copyright.in ${generated}/copyright @ONLY)
    configure_file(debian/changelog.in ${generated}/changelog @ONLY)
    add_custom_command(OUTPUT ${generated}/changelog.gz
        COMMAND ${GZIP} -9nkf ${generated}/changelog
        DEPENDS ${generated}/changelog
        VERBATIM)
    add_custom_target(quillon_changelog ALL DEPENDS ${generated}/changelog.gz)
    set(package_docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillon)
    install(FILES ${generated}/copyright ${generated}/changelog.gz DESTINATION ${package_docs})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/stripsections.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "extract the MP3 audio stream from Flash Video files")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillon pulls the MP3 audio out of Flash Video (FLV) files: it reads each file\n"
    "tag by tag and writes the MP3 stream that was put into the container to a file\n"
    "of its own, byte for byte, without re-encoding it.\n"
    "\n"
    "The package holds the Qt window quillon, which lists files from a file dialog,\n"
    "from drops or from its command line, and the command-line tool quillon-cli for\n"
    "scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# Depends comes from the shared libraries the installed programs load, as dpkg-shlibdeps sees
# them: nothing of the build's own tool chain ends up in it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
