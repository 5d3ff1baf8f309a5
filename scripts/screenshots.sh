#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures of the windows under a virtual X display and stores them in docs/.
# Usage: scripts/screenshots.sh [BUILD-FOLDER]
set -euo pipefail
build="${1:-build}"
cd "$(dirname "$0")/.."
cmake --build "$build" --target quillon-screenshots
# A fixed dpi and no desktop theme, so the pictures do not depend on the machine taking them.
export QT_QPA_PLATFORMTHEME=
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build/bin/quillon-screenshots" samples/quillon-sample.flv tests/fixtures/h264-aac.flv \
    tests/fixtures/video-only.flv docs
