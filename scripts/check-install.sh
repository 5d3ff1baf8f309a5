#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a temporary folder as `make install DESTDIR=... PREFIX=/usr` does and
# checks what lands there with the desktop's own validators: the file list, the desktop entry,
# the AppStream metadata (also with addresses set), the icon sizes, the manual pages, the bash
# completion, and the installed quillon-cli extracting the sample. Then `make uninstall` must
# leave nothing behind. Usage: scripts/check-install.sh [BUILD-FOLDER]
set -euo pipefail
build="$(realpath "${1:-build}")"
cd "$(dirname "$0")/.."
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
stage="$scratch/stage"
manifest="$scratch/installed-files.txt"
DESTDIR="$stage" scripts/install.sh "$build" /usr "$manifest" >/dev/null
usr="$stage/usr"
failed=0
fail() {
    echo "check-install: $*" >&2
    failed=1
}

# Every file that must be there, and nothing of the developer tools.
desktop=("$usr"/share/applications/*.desktop)
[ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ] || fail "expected one desktop entry"
id="$(basename "${desktop[0]}" .desktop)"
sizes=(16 22 24 32 48 64 128 256)
expected=(bin/quillon bin/quillon-cli share/man/man1/quillon.1.gz share/man/man1/quillon-cli.1.gz
          share/bash-completion/completions/quillon-cli "share/metainfo/$id.metainfo.xml"
          "share/icons/hicolor/scalable/apps/$id.svg")
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || fail "not installed: /usr/$file"
done
[ ! -e "$usr/bin/quillon-gallery" ] || fail "the gallery is a developer tool and is not installed"
grep -qx "Icon=$id" "${desktop[0]}" || fail "the desktop entry's icon is not named $id"
grep -q "^StartupWMClass=." "${desktop[0]}" || fail "the desktop entry names no window class"

# Desktop entry and metadata: no error and no warning; the pedantic notes are shown, not fatal.
report="$(desktop-file-validate "${desktop[0]}" 2>&1)" || true
[ -z "$report" ] || fail "desktop-file-validate: $report"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml")"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$id.metainfo.xml" | grep '^P:' || true
# The same metadata with a homepage and screenshots, as a packager who publishes them sets them.
with_addresses="$scratch/with-addresses.metainfo.xml"
cmake -DQUILLON_APP_ID="$id" -DQUILLON_LICENSE=GPL-3.0-or-later -DPROJECT_VERSION=1.0 \
    -DQUILLON_RELEASE_DATE=2026-01-01 -DQUILLON_HOMEPAGE=https://example.org/quillon/ \
    -DQUILLON_SCREENSHOTS_URL=https://example.org/quillon/screenshots \
    -DMETAINFO_OUTPUT="$with_addresses" -P dist/configuretext.cmake || fail "no metadata with addresses"
[ "$(grep -c '<image>https://example.org/quillon/screenshots/' "$with_addresses")" -eq 3 ] ||
    fail "the metadata with addresses does not name its three screenshots"
appstreamcli validate --no-net "$with_addresses" >/dev/null ||
    fail "appstreamcli validate, with addresses: $(appstreamcli validate --no-net "$with_addresses")"

# Each icon is exactly the size its folder names (width and height from the PNG header), and the
# 16 pixel one is its own drawing, not the large one scaled down.
scaled16="$(rsvg-convert --width 16 --height 16 "$usr/share/icons/hicolor/scalable/apps/$id.svg" | od -An -tx1)"
[ "$scaled16" != "$(od -An -tx1 "$usr/share/icons/hicolor/16x16/apps/$id.png")" ] ||
    fail "the 16 pixel icon is the scalable drawing scaled down"
for size in "${sizes[@]}"; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || continue
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height"
done

# Manual pages render without a warning.
for page in "$usr"/share/man/man1/*.1.gz; do
    report="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    report+="$(zcat "$page" | groff -ww -z -man 2>&1)"
    [ -z "$report" ] || fail "$(basename "$page"): $report"
done

# The completion offers the options, folders after -o, and .flv files (any case) and folders
# for FILE.
completion="$usr/share/bash-completion/completions/quillon-cli"
complete_words() {
    (cd "$scratch/work" && bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        _quillon_cli quillon-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' _ "$completion" "$@")
}
expect_completion() {
    local want="$1"
    shift
    local got
    got="$(complete_words "$@")"
    [ "$got" = "$want" ] || fail "completing '$*' gave '$got', not '$want'"
}
mkdir -p "$scratch/work/sub"
touch "$scratch/work/a.flv" "$scratch/work/B.FLV" "$scratch/work/notes.txt"
if [ -f /usr/share/bash-completion/bash_completion ]; then
    expect_completion "B.FLV a.flv sub" quillon-cli ""
    expect_completion "sub" quillon-cli -o ""
    expect_completion "--output-dir" quillon-cli a.flv --o
    expect_completion "B.FLV a.flv sub" quillon-cli -- ""
else
    bash -n "$completion" || fail "the completion script does not parse"
    echo "check-install: bash-completion is not installed; the completion was only parsed"
fi

# The installed programs run: the window answers without a display, the command line extracts
# the sample.
version="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/quillon" --version)" ||
    fail "quillon --version failed"
[[ "$version" == "quillon "* ]] || fail "quillon --version printed '$version'"
cp samples/quillon-sample.flv "$scratch/work/"
status="$("$usr/bin/quillon-cli" "$scratch/work/quillon-sample.flv")" || fail "quillon-cli failed"
[ "$status" = "$scratch/work/quillon-sample.flv: Finished" ] || fail "quillon-cli printed '$status'"
[ -s "$scratch/work/quillon-sample.mp3" ] || fail "the installed quillon-cli wrote no MP3"

# make uninstall removes every file and every folder the install made, and nothing else.
scripts/uninstall.sh "$manifest" >/dev/null || fail "uninstall failed"
left="$(find "$stage" 2>/dev/null; [ ! -e "$manifest" ] || echo "$manifest")"
[ -z "$left" ] || fail "uninstall left: $left"

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-install: installed files, desktop entry, metadata (with and without addresses)," \
    "icons, manual pages and completion are valid; uninstall left nothing behind"
