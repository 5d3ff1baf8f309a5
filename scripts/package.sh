#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages quillon-cli and quillon: a Release build under /usr with Debian's
# hardening flags, without tests, packed by CPack. Prints the paths of the .deb files.
# Usage: scripts/package.sh [BUILD-FOLDER]
# The maintainer comes from QUILLON_MAINTAINER ("Full Name <address>"), else from DEBFULLNAME and
# DEBEMAIL; without one the build stops, unless LOCAL_BUILD=1 asks for packages for this machine
# only. QUILLON_HOMEPAGE and QUILLON_SCREENSHOTS_URL name the published addresses, if any.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-package}"
maintainer="${QUILLON_MAINTAINER:-}"
if [ -z "$maintainer" ] && [ -n "${DEBFULLNAME:-}" ] && [ -n "${DEBEMAIL:-}" ]; then
    maintainer="$DEBFULLNAME <$DEBEMAIL>"
fi
local_build=OFF
case "${LOCAL_BUILD:-}" in
"" | 0 | no | NO | off | OFF) ;;
*) local_build=ON ;;
esac
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Every address is passed each time, so that none is kept from an earlier build by CMake's cache.
if ! log="$(cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUILLON_BUILD_TESTS=OFF -DQUILLON_INSTALL_DEBIAN_DOCS=ON \
    -DQUILLON_MAINTAINER="$maintainer" -DQUILLON_LOCAL_BUILD="$local_build" \
    -DQUILLON_HOMEPAGE="${QUILLON_HOMEPAGE:-}" -DQUILLON_SCREENSHOTS_URL="${QUILLON_SCREENSHOTS_URL:-}" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" 2>&1)"; then
    printf '%s\n' "$log" | sed -n '/^CMake Error/,/^-- Configuring incomplete/p' | grep -v '^--' >&2
    exit 1
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}" >/dev/null
rm -f "$build"/quillon*.deb
if ! log="$(cd "$build" && cpack 2>&1)"; then
    printf '%s\n' "$log" >&2
    exit 1
fi
ls "$build"/quillon-cli_*.deb "$build"/quillon_*.deb
