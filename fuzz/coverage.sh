#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Line and branch coverage that the fuzz corpus reaches in the engine and the file layer: builds
# the fuzz target once more with Clang's source-based coverage in build-fuzzcov/, replays every
# corpus input once and prints llvm-cov's report. Usage: fuzz/coverage.sh [CORPUS_DIR...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-fuzzcov
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLON_BUILD_FUZZ=ON -DQUILLON_BUILD_GUI=OFF -DQUILLON_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
    -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build" --target quillon-fuzz >/dev/null
corpora=("$@")
[ ${#corpora[@]} -gt 0 ] || corpora=(fuzz/corpus-run fuzz/seeds tests/fixtures)
rm -f "$build"/fuzz-*.profraw
LLVM_PROFILE_FILE="$build/fuzz-%p.profraw" "$build/bin/quillon-fuzz" -runs=0 "${corpora[@]}" \
    2>&1 | grep -E 'INITED|DONE' || true
llvm-profdata merge -sparse "$build"/fuzz-*.profraw -o "$build/fuzz.profdata"
llvm-cov report "$build/bin/quillon-fuzz" -instr-profile="$build/fuzz.profdata" \
    engine/*.cpp platform/*.cpp
