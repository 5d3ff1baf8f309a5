#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Median time of one full paint of the main window's progress bar (691 x 24, 50 %) per style, to the
# screen of the offscreen platform, and of a run's worth of value changes.
# Usage: bench/progressbar/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
QT_QPA_PLATFORM=offscreen "$build/bin/quillon-progressbar-bench" \
    --benchmark_filter="${QUILLON_BENCH_FILTER:-.}" 2>&1 | grep -v -e '_mean' -e '_stddev' -e '_cv' \
    -e XDG_RUNTIME_DIR
