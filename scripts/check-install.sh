#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a temporary folder as a package would (prefix /usr) and checks what lands
# there with the desktop's own validators: the file list, the desktop entry, the AppStream
# metadata, the icon sizes, the manual pages, the bash completion, and the installed quillon-cli
# extracting the sample. Usage: scripts/check-install.sh [BUILD-FOLDER]
set -euo pipefail
build="$(realpath "${1:-build}")"
cd "$(dirname "$0")/.."
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
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

# Desktop entry and metadata: no error and no warning; the pedantic notes are shown, not fatal.
report="$(desktop-file-validate "${desktop[0]}" 2>&1)" || true
[ -z "$report" ] || fail "desktop-file-validate: $report"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml")"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$id.metainfo.xml" | grep '^P:' || true

# Each icon is exactly the size its folder names (width and height from the PNG header).
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
    (cd "$stage/work" && bash -c '
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
mkdir -p "$stage/work/sub"
touch "$stage/work/a.flv" "$stage/work/B.FLV" "$stage/work/notes.txt"
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
cp samples/quillon-sample.flv "$stage/work/"
status="$("$usr/bin/quillon-cli" "$stage/work/quillon-sample.flv")" || fail "quillon-cli failed"
[ "$status" = "$stage/work/quillon-sample.flv: Finished" ] || fail "quillon-cli printed '$status'"
[ -s "$stage/work/quillon-sample.mp3" ] || fail "the installed quillon-cli wrote no MP3"

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-install: installed files, desktop entry, metadata, icons, manual pages and completion are valid"
