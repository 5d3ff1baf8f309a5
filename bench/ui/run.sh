#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Extracts the large benchmark FLV through the main window on the offscreen platform: the longest
# time the window went without handling events, and the run's time against quillon-cli's.
# Usage: bench/ui/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
data="${QUILLON_BENCH_DATA:-$here/../data}"
big="$data/big.flv"
if [ ! -s "$big" ]; then
    # The engine's benchmark makes the file; it runs first under bench/run-all.sh.
    bash "$here/../engine/run.sh" "$build" >/dev/null
fi
out="$data/ui-out"
rm -rf "$out" && mkdir -p "$out"
cat "$big" >/dev/null # into the page cache
QT_QPA_PLATFORM=offscreen "$build/bin/quillon-ui-bench" "$big" "$out" "$build/bin/quillon-cli" \
    "${QUILLON_BENCH_RUNS:-5}"
