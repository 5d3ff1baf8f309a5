#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the VBR/Info header frame against ffmpeg on every VBR/CBR fixture, and times the frame
# counter. For each fixture, the MP3 that quillon-cli extracts without and with --vbr-header:
#   - the header frame's frame count is ffprobe's;
#   - ffprobe's duration with the header frame is within one frame of the decoded duration;
#   - without it, the number ffprobe estimates for a VBR stream (shown, not required to be off);
#   - the decoded samples are the same with the header frame and without it.
# Needs ffmpeg and a build with -DQUILLON_BUILD_BENCH=ON. Usage: bench/vbr-header/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
fixtures="$here/../../tests/fixtures"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
# Decoded PCM: its sample count per channel and its hash.
decoded() { # file channels
    ffmpeg -nostdin -hide_banner -loglevel error -i "$1" -f s16le - |
        python3 -c "import sys, hashlib; d = sys.stdin.buffer.read(); print(len(d) // (2 * $2), hashlib.sha256(d).hexdigest()[:16])"
}

failed=0
printf '%-20s %6s %5s %10s %10s %10s %7s %s %s\n' fixture frames tag decoded with-hdr without off-by within same-pcm
while read -r name frames bytes rate channels <&3; do
    base="${name%.flv}"
    mkdir -p "$tmp/plain" "$tmp/with"
    "$build/bin/quillon-cli" -o "$tmp/plain" "$fixtures/$name" >/dev/null
    "$build/bin/quillon-cli" --vbr-header -o "$tmp/with" "$fixtures/$name" >/dev/null 2>&1
    plain="$tmp/plain/$base.mp3"
    cp "$tmp/with/$base.mp3" "$tmp/with.mp3"
    # The tag, its frame count and the header frame's size, read as a player reads them.
    read -r tag counted size < <(python3 - "$tmp/with.mp3" "$plain" <<'PY'
import os, sys
head = open(sys.argv[1], "rb").read(1200)
at = max(head.find(b"Xing"), head.find(b"Info"))
print(head[at:at + 4].decode(), int.from_bytes(head[at + 8:at + 12], "big"),
      os.path.getsize(sys.argv[1]) - os.path.getsize(sys.argv[2]))
PY
)

    read -r samples pcm < <(decoded "$plain" "$channels")
    read -r samples_with pcm_with < <(decoded "$tmp/with.mp3" "$channels")
    with=$(duration "$tmp/with.mp3")
    without=$(duration "$plain")
    spf=$([ "$rate" -ge 32000 ] && echo 1152 || echo 576)
    verdict=$(python3 - "$samples" "$rate" "$with" "$without" "$spf" <<'PY'
import sys
samples, rate, with_, without, spf = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), int(sys.argv[5])
decoded = samples / rate
ok = abs(with_ - decoded) <= spf / rate
print(f"{decoded:10.4f} {with_:10.4f} {without:10.4f} {(without - decoded) * rate / spf:+7.1f} {'ok' if ok else 'OFF'}")
PY
)
    same=$([ "$pcm" = "$pcm_with" ] && [ "$samples" = "$samples_with" ] && echo yes || echo NO)
    if [ "$size" = 0 ]; then
        # A stream with a header frame of its own (LAME's) gets none of ours: the output must be
        # the plain one, byte for byte. Its durations are LAME's and ffprobe's business.
        verdict=$(cmp -s "$tmp/with.mp3" "$plain" && echo "its own header, output = plain" ||
            echo "its own header, output DIFFERS")
    fi
    printf '%-20s %6s %5s %s %s (header %s bytes)\n' "$base" "$counted" "$tag" "$verdict" "$same" "$size"
    if [ "$counted" != "$frames" ] || [[ "$verdict" == *OFF ]] || [[ "$verdict" == *DIFFERS ]] ||
        [ "$same" != yes ]; then
        failed=1
    fi
done 3< "$fixtures/mp3-frames.txt"
echo "(off-by: ffprobe's duration without the header frame minus the decoded one, in frames)"

"$build/bin/quillon-vbr-header-bench" --benchmark_repetitions="${QUILLON_BENCH_REPS:-15}" \
    --benchmark_report_aggregates_only=true 2>&1 | grep -e Benchmark -e _min
exit "$failed"
