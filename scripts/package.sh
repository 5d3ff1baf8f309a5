#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package: a Release build under /usr with Debian's hardening flags, without
# tests, packed by CPack. Prints the path of the .deb. Usage: scripts/package.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-package}"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUILLON_BUILD_TESTS=OFF -DQUILLON_INSTALL_DEBIAN_DOCS=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" >/dev/null
rm -f "$build"/quillon_*.deb
(cd "$build" && cpack >/dev/null)
ls "$build"/quillon_*.deb
