#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process benchmark of quillon-cli on a large FLV, against ffmpeg's stream copy of the same
# audio and against merely reading the file with cat. Prints the timings, the ratios and the CLI's
# peak memory. Usage: bench/engine/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
data="${QUILLON_BENCH_DATA:-$here/../data}"
mkdir -p "$data"
cli="$build/bin/quillon-cli"
big="$data/big.flv"
min_bytes="${QUILLON_BENCH_BYTES:-524288000}"

if [ ! -s "$big" ] || [ "$(stat -c %s "$big")" -lt "$min_bytes" ]; then
    # One minute of 640x360 video at 2 Mbit/s with 128 kbit/s MP3, repeated up to the size.
    ffmpeg -hide_banner -loglevel error -y -bitexact \
        -f lavfi -i "testsrc2=size=640x360:rate=25:duration=60" \
        -f lavfi -i "sine=frequency=440:duration=60:sample_rate=44100:beep_factor=2" \
        -c:v flv1 -b:v 2M -c:a libmp3lame -b:a 128k -map_metadata -1 -f flv "$data/source.flv"
    python3 "$here/make-big-flv.py" "$data/source.flv" "$big" "$min_bytes"
fi

out="$data/out"
rm -rf "$out" && mkdir -p "$out"
"$cli" -o "$out" "$big" >/dev/null
ffmpeg -hide_banner -loglevel error -y -i "$big" -map 0:a -c:a copy -write_xing 0 \
    -id3v2_version 0 -write_id3v1 0 -f mp3 "$out/ffmpeg.mp3"
if cmp -s "$out/big.mp3" "$out/ffmpeg.mp3"; then
    echo "output: identical to ffmpeg's stream copy ($(stat -c %s "$out/big.mp3") bytes)"
else
    echo "output: DIFFERS from ffmpeg's stream copy" >&2
    exit 1
fi

cat "$big" >/dev/null # into the page cache
# -N: no shell in between, so no command pays for one; every command's output goes to /dev/null.
# Each run starts with the disk idle (sync), as a user's extraction does: run back to back, the
# runs would otherwise be timed by how fast the disk takes the outputs of the runs before them.
hyperfine -N --warmup 3 --runs "${QUILLON_BENCH_RUNS:-20}" --export-json "$data/engine.json" \
    --prepare sync \
    -n quillon-cli "'$cli' -o '$out' '$big'" \
    -n ffmpeg "ffmpeg -hide_banner -loglevel error -y -i '$big' -map 0:a -c:a copy -write_xing 0 -id3v2_version 0 -write_id3v1 0 -f mp3 '$out/ffmpeg.mp3'" \
    -n cat "cat '$big'"

python3 - "$data/engine.json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
q, f, c = r["quillon-cli"], r["ffmpeg"], r["cat"]
print(f"median: quillon-cli {q*1000:.1f} ms, ffmpeg {f*1000:.1f} ms, cat {c*1000:.1f} ms")
print(f"ffmpeg / quillon-cli = {f/q:.1f}x (target >= 5x); quillon-cli / cat = {q/c:.2f}x (target <= 3x)")
PY
/usr/bin/time -v "$cli" -o "$out" "$big" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {printf "peak memory: %.1f MB (target < 40 MB)\n", $2/1024}'

# Many small files: 2,000 copies of the bundled 228 KB sample, the per-file costs (opening,
# creating, naming the output) against merely reading them with cat.
small="$data/small"
if [ ! -d "$small/in" ] || [ "$(ls "$small/in" | wc -l)" -ne 2000 ]; then
    rm -rf "$small" && mkdir -p "$small/in"
    for i in $(seq 1 2000); do cp "$here/../../samples/quillon-sample.flv" "$small/in/s$i.flv"; done
fi
rm -rf "$small/out" && mkdir -p "$small/out"
cat "$small"/in/*.flv >/dev/null
hyperfine --warmup 2 --runs "${QUILLON_BENCH_RUNS:-20}" --export-json "$data/small.json" \
    -n quillon-cli "'$cli' -o '$small/out' '$small'/in/*.flv >/dev/null" \
    -n cat "cat '$small'/in/*.flv >/dev/null"
python3 - "$data/small.json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
q, c = r["quillon-cli"], r["cat"]
print(f"2,000 small files, median: quillon-cli {q*1000:.0f} ms, cat {c*1000:.0f} ms; "
      f"quillon-cli / cat = {q/c:.2f}x (target <= 1.5x)")
PY
