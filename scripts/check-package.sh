#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and runs lintian on it: any error fails; warnings and the
# informational tags are listed. Usage: scripts/check-package.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(scripts/package.sh "${1:-build-package}")"
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB; installed $(dpkg-deb -f "$deb" Installed-Size) KiB)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
lintian --fail-on error --info --display-info --pedantic "$deb"
echo "lintian: no error"
