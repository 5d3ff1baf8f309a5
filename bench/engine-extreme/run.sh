#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Stress benchmark of quillon-cli on extreme FLV files: 10 million empty tags, a sparse 2.5 GiB
# file, the largest tag size claimed and real, data offsets of 0, 5 and 0xFFFFFFFF, a million
# lying back-pointers. Prints each file's status, time and peak memory, and fails if any file
# does not end in a status, takes more than 60 s, or peaks at 40 MB or more.
# Usage: bench/engine-extreme/run.sh BUILD_DIR   (the files live in a temporary folder, removed
# afterwards; set QUILLON_EXTREME_DIR to keep them somewhere else)
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
cli="$build/bin/quillon-cli"
work="${QUILLON_EXTREME_DIR:-$(mktemp -d /tmp/quillon-extreme.XXXXXX)}"
[ -n "${QUILLON_EXTREME_DIR:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/out"

python3 "$here/make-extreme-flvs.py" "$work/in" >/dev/null
limit_kb=$((40 * 1024))
status=0
printf '%-26s %10s %9s %9s %11s  %s\n' file "size MB" "time s" "peak MB" "mp3 bytes" status
for flv in "$work"/in/*.flv; do
    name="$(basename "$flv")"
    cat "$flv" >/dev/null 2>&1 || true # page cache, as for the other benchmark
    rm -f "$work/out/"*
    /usr/bin/time -f '%e %M' -o "$work/time" timeout 60 "$cli" -o "$work/out" "$flv" \
        >"$work/status" 2>/dev/null || true
    read -r seconds peak_kb <"$work/time"
    line="$(cat "$work/status")"
    mp3="$work/out/${name%.flv}.mp3"
    mp3_bytes="$( [ -f "$mp3" ] && stat -c %s "$mp3" || echo none)"
    awk -v n="$name" -v b="$(stat -c %s "$flv")" -v s="$seconds" -v k="$peak_kb" \
        -v m="$mp3_bytes" -v st="${line#*: }" \
        'BEGIN { printf "%-26s %10.1f %9.2f %9.1f %11s  %s\n", n, b / 1e6, s, k / 1024, m, st }'
    if [ -z "$line" ] || [ "$peak_kb" -ge "$limit_kb" ]; then
        status=1
    fi
done
# The 10-million-tag loop on its own, repeated, for a steadier figure.
hyperfine --warmup 1 --runs "${QUILLON_EXTREME_RUNS:-5}" -N \
    -n "10M empty tags" "$cli -o $work/out $work/in/empty-tags-10m.flv" 2>/dev/null |
    grep -E 'Time|Range' || true
exit $status
