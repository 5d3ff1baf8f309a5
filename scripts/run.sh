#!/usr/bin/env bash
# Runs the program after `make build`. The first argument is the build folder.
set -euo pipefail
build="${1:-build}"
out="$build/run-output"
mkdir -p "$out"
"$build/bin/quillon-cli" -o "$out" samples/quillon-sample.flv
echo "The MP3 went to $out/quillon-sample.mp3"
