#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark folder's run.sh against the given build folder.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
cd "$(dirname "$0")"
for script in */run.sh; do
    echo "== ${script%/run.sh}"
    bash "$script" "$build"
done
