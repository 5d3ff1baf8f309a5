#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the program after `make build`. The first argument is the build folder.
set -euo pipefail
build="${1:-build}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
    exec "$build/bin/quillon"
fi
# Without a display the window cannot open; show the same engine at work on the sample instead.
echo "No display to open the Quillon window on; extracting the sample with quillon-cli instead."
out="$build/run-output"
mkdir -p "$out"
"$build/bin/quillon-cli" -o "$out" samples/quillon-sample.flv
echo "The MP3 went to $out/quillon-sample.mp3"
