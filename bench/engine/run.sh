#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process benchmark of quillon-cli on a large FLV, against ffmpeg's stream copy of the same
# audio and against merely reading the file with cat. Prints the timings, the ratios and the CLI's
# peak memory. Then the same for a large H.264 + AAC file with --aac, against ffmpeg's ADTS copy.
# Usage: bench/engine/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
data="${QUILLON_BENCH_DATA:-$here/../data}"
mkdir -p "$data"
cli="$build/bin/quillon-cli"
big="$data/big.flv"
min_bytes="${QUILLON_BENCH_BYTES:-524288000}"

out="$data/out"

# make_big TARGET SOURCE CODEC-OPTIONS...: one minute of 640x360 video at 2 Mbit/s with 128 kbit/s
# audio, in the codecs given, repeated up to the size.
make_big() {
    local target=$1 source=$2
    shift 2
    if [ ! -s "$target" ] || [ "$(stat -c %s "$target")" -lt "$min_bytes" ]; then
        ffmpeg -hide_banner -loglevel error -y -bitexact \
            -f lavfi -i "testsrc2=size=640x360:rate=25:duration=60" \
            -f lavfi -i "sine=frequency=440:duration=60:sample_rate=44100:beep_factor=2" \
            "$@" -b:v 2M -b:a 128k -map_metadata -1 -f flv "$source"
        python3 "$here/make-big-flv.py" "$source" "$target" "$min_bytes"
    fi
}

# time_big NAME INPUT OUTPUT "CLI-OPTIONS" "FFMPEG-OUTPUT-OPTIONS" CAT-TARGET [FFMPEG-TARGET]:
# checks that quillon-cli writes OUTPUT byte for byte as ffmpeg's stream copy, then times both and
# cat in one hyperfine run and prints the ratios against the targets.
time_big() {
    local name=$1 input=$2 output=$3 cli_options=$4 ffmpeg_options=$5
    local ffmpeg_output="$out/ffmpeg.${output##*.}"
    rm -rf "$out" && mkdir -p "$out"
    # shellcheck disable=SC2086 # the options are words
    "$cli" $cli_options -o "$out" "$input" >/dev/null
    # shellcheck disable=SC2086
    ffmpeg -hide_banner -loglevel error -y -i "$input" $ffmpeg_options "$ffmpeg_output"
    if cmp -s "$out/$output" "$ffmpeg_output"; then
        echo "$name output: identical to ffmpeg's stream copy ($(stat -c %s "$out/$output") bytes)"
    else
        echo "$name output: DIFFERS from ffmpeg's stream copy" >&2
        exit 1
    fi

    cat "$input" >/dev/null # into the page cache
    # -N: no shell in between, so no command pays for one; every command's output goes to
    # /dev/null. Each run starts with the disk idle (sync), as a user's extraction does: run back
    # to back, the runs would otherwise be timed by how fast the disk takes the outputs of the runs
    # before them.
    hyperfine -N --warmup 3 --runs "${QUILLON_BENCH_RUNS:-20}" --export-json "$data/$name.json" \
        --prepare sync \
        -n quillon-cli "'$cli' $cli_options -o '$out' '$input'" \
        -n ffmpeg "ffmpeg -hide_banner -loglevel error -y -i '$input' $ffmpeg_options '$ffmpeg_output'" \
        -n cat "cat '$input'"

    python3 - "$data/$name.json" "$name" "$6" "${7:-}" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
name, cat_target, ffmpeg_target = sys.argv[2], sys.argv[3], sys.argv[4]
q, f, c = r["quillon-cli"], r["ffmpeg"], r["cat"]
print(f"{name}, median: quillon-cli {q*1000:.1f} ms, ffmpeg {f*1000:.1f} ms, cat {c*1000:.1f} ms")
print(f"ffmpeg / quillon-cli = {f/q:.1f}x"
      + (f" (target >= {ffmpeg_target}x)" if ffmpeg_target else "")
      + f"; quillon-cli / cat = {q/c:.2f}x (target <= {cat_target}x)")
PY
}

# Sorenson video with MP3 audio.
make_big "$big" "$data/source.flv" -c:v flv1 -c:a libmp3lame
time_big engine "$big" big.mp3 "" \
    "-map 0:a -c:a copy -write_xing 0 -id3v2_version 0 -write_id3v1 0 -f mp3" 3 5
/usr/bin/time -v "$cli" -o "$out" "$big" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {printf "peak memory: %.1f MB (target < 40 MB)\n", $2/1024}'

# H.264 video with AAC LC audio, as most FLV files are, extracted with --aac.
make_big "$data/big-aac.flv" "$data/source-aac.flv" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -ac 2
time_big engine-aac "$data/big-aac.flv" big-aac.aac --aac "-vn -c:a copy -f adts" 1.3

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
