#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process benchmark of quillon-cli against merely reading the same input with cat, in the
# same hyperfine run each time: a large FLV with a fresh output (no file under the output's name)
# and with a replaced one (an older output under that name), written to the build folder's file
# system and to tmpfs; the same with the page cache emptied; and many small files both ways. The
# large file is also checked against, and timed with, ffmpeg's stream copy of the same audio. Then
# a large H.264 + AAC file extracted with --aac, against ffmpeg's ADTS copy and cat.
# Prints the timings, the ratios and the CLI's peak memory. Usage: bench/engine/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
data="${QUILLON_BENCH_DATA:-$here/../data}"
mkdir -p "$data"
cli="$build/bin/quillon-cli"
big="$data/big.flv"
min_bytes="${QUILLON_BENCH_BYTES:-524288000}"
runs="${QUILLON_BENCH_RUNS:-20}"
small_files="${QUILLON_BENCH_SMALL_FILES:-500}"

if [ ! -s "$big" ] || [ "$(stat -c %s "$big")" -lt "$min_bytes" ]; then
    # One minute of 640x360 video at 2 Mbit/s with 128 kbit/s MP3, repeated up to the size.
    ffmpeg -hide_banner -loglevel error -y -bitexact \
        -f lavfi -i "testsrc2=size=640x360:rate=25:duration=60" \
        -f lavfi -i "sine=frequency=440:duration=60:sample_rate=44100:beep_factor=2" \
        -c:v flv1 -b:v 2M -c:a libmp3lame -b:a 128k -map_metadata -1 -f flv "$data/source.flv"
    python3 "$here/make-big-flv.py" "$data/source.flv" "$big" "$min_bytes"
fi

# Outputs go to the build folder's file system (or to the one QUILLON_BENCH_DISK names a folder
# of: file systems differ most in what replacing a file costs) and to tmpfs, each into a folder of
# the benchmark's own.
disk="$(mktemp -d "${QUILLON_BENCH_DISK:-$build}/quillon-bench.XXXXXX")"
shm="$(mktemp -d /dev/shm/quillon-bench.XXXXXX)"
trap 'rm -rf "$disk" "$shm"' EXIT
hypervisor="$(dmesg 2>/dev/null | grep -o -m1 'Hypervisor detected: .*' || true)"
echo "machine: $(nproc) cores, ${hypervisor:-no hypervisor seen (or dmesg not readable)}, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "output folders: $disk ($(df --output=fstype "$disk" | tail -n 1)), $shm ($(df --output=fstype "$shm" | tail -n 1))"
# Whether the disk's file system keeps a journal and discards freed blocks at once decides what
# freeing an older output costs.
device="$(findmnt -n -o SOURCE --target "$disk")"
journal=no
[ -e "/proc/fs/jbd2/$(basename "$device")-8" ] && journal=yes
echo "disk: $device, mounted $(findmnt -n -o OPTIONS --target "$disk"), journal: $journal"

"$cli" -o "$disk" "$big" >/dev/null
ffmpeg -hide_banner -loglevel error -y -i "$big" -map 0:a -c:a copy -write_xing 0 \
    -id3v2_version 0 -write_id3v1 0 -f mp3 "$disk/ffmpeg.mp3"
if cmp -s "$disk/big.mp3" "$disk/ffmpeg.mp3"; then
    echo "output: identical to ffmpeg's stream copy ($(stat -c %s "$disk/big.mp3") bytes)"
else
    echo "output: DIFFERS from ffmpeg's stream copy" >&2
    exit 1
fi

# Medians of a hyperfine export, and each against the last command (cat).
report() {
    python3 - "$1" "$2" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
r = {x["command"]: x["median"] for x in results}
cat = r["cat"]
line = ", ".join(f"{k} {v*1000:.1f} ms ({v/cat:.2f}x cat)" for k, v in r.items() if k != "cat")
print(f"{sys.argv[2]}: {line}, cat {cat*1000:.1f} ms")
if "fresh" in r and "replaced" in r:
    print(f"{sys.argv[2]}: replaced / fresh = {r['replaced']/r['fresh']:.2f}x (target <= 1.1x); "
          f"fresh / cat = {r['fresh']/cat:.2f}x (target <= 1.3x)")
if "vbr-header" in r and "replaced" in r:
    print(f"{sys.argv[2]}: vbr-header / replaced = {r['vbr-header']/r['replaced']:.3f}x "
          f"(target <= 1.02x)")
if "ffmpeg" in r:
    print(f"{sys.argv[2]}: ffmpeg / fresh = {r['ffmpeg']/r['fresh']:.1f}x (target >= 5x)")
PY
}

# Every run starts with the disk idle (sync), as a user's extraction does: back to back, a run
# would otherwise be timed by how fast the disk takes the outputs of the runs before it. -N: no
# shell in between, so no command pays for one; the outputs go to /dev/null.
cat "$big" >/dev/null # into the page cache
for out in "$disk" "$shm"; do
    label="large file, output on $(df --output=fstype "$out" | tail -n 1), page cache warm"
    extra=()
    if [ "$out" = "$disk" ]; then
        extra=(-n ffmpeg --prepare sync "ffmpeg -hide_banner -loglevel error -y -i '$big' -map 0:a -c:a copy -write_xing 0 -id3v2_version 0 -write_id3v1 0 -f mp3 '$out/ffmpeg.mp3'")
    fi
    hyperfine -N --warmup 3 --runs "$runs" --export-json "$data/engine.json" \
        -n fresh --prepare "bash -c 'rm -f \"\$1\"; sync' _ '$out/big.mp3'" "'$cli' -o '$out' '$big'" \
        -n replaced --prepare "sync" "'$cli' -o '$out' '$big'" \
        -n vbr-header --prepare "sync" "'$cli' --vbr-header -o '$out' '$big'" \
        "${extra[@]}" \
        -n cat --prepare sync "cat '$big'" >/dev/null
    report "$data/engine.json" "$label"
done

# The input not in the page cache: its pages are dropped before each run.
drop="$here/drop-from-cache.py"
hyperfine -N --warmup 1 --runs "$(( (runs + 1) / 2 ))" --export-json "$data/cold.json" \
    -n fresh --prepare "bash -c 'rm -f \"\$1\"; sync; python3 \"\$2\" \"\$3\"' _ '$disk/big.mp3' '$drop' '$big'" "'$cli' -o '$disk' '$big'" \
    -n cat --prepare "bash -c 'sync; python3 \"\$1\" \"\$2\"' _ '$drop' '$big'" "cat '$big'" >/dev/null
report "$data/cold.json" "large file, output on $(df --output=fstype "$disk" | tail -n 1), page cache cold"

/usr/bin/time -v "$cli" -o "$disk" "$big" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {printf "peak memory: %.1f MB (target < 40 MB)\n", $2/1024}'

# H.264 video with AAC LC audio, as most FLV files are, extracted with --aac: checked against
# ffmpeg's ADTS stream copy, then timed with it and cat in one hyperfine run.
big_aac="$data/big-aac.flv"
if [ ! -s "$big_aac" ] || [ "$(stat -c %s "$big_aac")" -lt "$min_bytes" ]; then
    # One minute of 640x360 H.264 at 2 Mbit/s with 128 kbit/s AAC, repeated up to the size.
    ffmpeg -hide_banner -loglevel error -y -bitexact \
        -f lavfi -i "testsrc2=size=640x360:rate=25:duration=60" \
        -f lavfi -i "sine=frequency=440:duration=60:sample_rate=44100:beep_factor=2" \
        -c:v libx264 -preset veryfast -pix_fmt yuv420p -b:v 2M -c:a aac -b:a 128k -ac 2 \
        -map_metadata -1 -f flv "$data/source-aac.flv"
    python3 "$here/make-big-flv.py" "$data/source-aac.flv" "$big_aac" "$min_bytes"
fi
"$cli" --aac -o "$disk" "$big_aac" >/dev/null
ffmpeg -hide_banner -loglevel error -y -i "$big_aac" -vn -c:a copy -f adts "$disk/ffmpeg.aac"
if cmp -s "$disk/big-aac.aac" "$disk/ffmpeg.aac"; then
    echo "aac output: identical to ffmpeg's ADTS stream copy ($(stat -c %s "$disk/big-aac.aac") bytes)"
else
    echo "aac output: DIFFERS from ffmpeg's ADTS stream copy" >&2
    exit 1
fi
cat "$big_aac" >/dev/null # into the page cache
hyperfine -N --warmup 3 --runs "$runs" --export-json "$data/engine-aac.json" \
    -n fresh --prepare "bash -c 'rm -f \"\$1\"; sync' _ '$disk/big-aac.aac'" "'$cli' --aac -o '$disk' '$big_aac'" \
    -n ffmpeg --prepare sync "ffmpeg -hide_banner -loglevel error -y -i '$big_aac' -vn -c:a copy -f adts '$disk/ffmpeg.aac'" \
    -n cat --prepare sync "cat '$big_aac'" >/dev/null
report "$data/engine-aac.json" "large H.264 + AAC file with --aac, output on $(findmnt -n -o FSTYPE --target "$disk"), page cache warm"

# Many small files: copies of the bundled 228 KB sample, the per-file costs (opening, creating,
# naming the output, replacing an older one) against merely reading them with cat.
small="$data/small"
if [ ! -d "$small/in" ] || [ "$(ls "$small/in" | wc -l)" -ne "$small_files" ]; then
    rm -rf "$small" && mkdir -p "$small/in"
    for i in $(seq 1 "$small_files"); do cp "$here/../../samples/quillon-sample.flv" "$small/in/s$i.flv"; done
fi
cat "$small"/in/*.flv >/dev/null
# The names spelled out, so that no shell runs with each command (-N): a shell's start varies more
# than a batch of small files takes.
inputs="$(printf "'%s' " "$small"/in/*.flv)"
for out in "$disk/small" "$shm/small"; do
    mkdir -p "$out"
    hyperfine -N --warmup 2 --runs "$runs" --export-json "$data/small.json" \
        -n fresh --prepare "bash -c 'rm -rf \"\$1\" && mkdir \"\$1\" && sync' _ '$out'" "'$cli' -o '$out' $inputs" \
        -n replaced --prepare "sync" "'$cli' -o '$out' $inputs" \
        -n cat --prepare "sync" "cat $inputs" >/dev/null
    report "$data/small.json" "$small_files small files, outputs on $(df --output=fstype "$out" | tail -n 1)"
done
