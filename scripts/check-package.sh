#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages quillon-cli and quillon and checks them: lintian reports no tag at
# all on either (pedantic and informational included); then each is installed with apt into a
# clean Debian root of this machine's release (made by debootstrap), where it must bring in only
# what it should (quillon-cli: no Qt; quillon: no quillon-cli), its programs must run, and purging
# it must leave none of its files. Without a maintainer the packages are built as local ones.
# Usage: scripts/check-package.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build-package}"
if [ -z "${QUILLON_MAINTAINER:-}" ] && { [ -z "${DEBFULLNAME:-}" ] || [ -z "${DEBEMAIL:-}" ]; }; then
    export LOCAL_BUILD=1
fi
mapfile -t debs < <(scripts/package.sh "$out")
[ ${#debs[@]} -eq 2 ] || { echo "check-package: expected two packages, got: ${debs[*]}" >&2; exit 1; }
for deb in "${debs[@]}"; do
    echo "package: $deb ($(du -k "$deb" | cut -f1) KiB; installed $(dpkg-deb -f "$deb" Installed-Size) KiB)"
    echo "  Depends: $(dpkg-deb -f "$deb" Depends)"
done
lintian --fail-on error,warning,info,pedantic --info --display-info --pedantic "${debs[@]}"
echo "lintian: no tag on either package"

if [ "$(id -u)" -ne 0 ]; then
    echo "check-package: NOT installed into a clean root: that needs root (chroot). Checked: the" \
        "build, the package contents and lintian."
    exit 0
fi

# The clean root: debootstrap's minimal system, made once and kept packed next to the packages;
# each package gets a fresh copy of it.
. /etc/os-release
base="$out/clean-root-$VERSION_CODENAME.tar.gz"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
if [ ! -f "$base" ]; then
    echo "check-package: making a clean $VERSION_CODENAME root with debootstrap (once)"
    debootstrap --variant=minbase "$VERSION_CODENAME" "$scratch/base" http://deb.debian.org/debian \
        >"$scratch/debootstrap.log" 2>&1 || { tail -20 "$scratch/debootstrap.log" >&2; exit 1; }
    tar -C "$scratch/base" -czf "$base.new" .
    mv "$base.new" "$base"
    rm -rf "$scratch/base"
fi

failed=0
fail() {
    echo "check-package: $*" >&2
    failed=1
}
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
installed_packages() {
    in_root dpkg-query -W -f '${Package}\n' | sort
}

# Installs the package named `name` into a fresh clean root and checks it there.
check_in_clean_root() {
    local name="$1" deb="$2"
    root="$scratch/root-$name"
    mkdir "$root"
    tar -C "$root" -xzf "$base"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    cp "$deb" samples/quillon-sample.flv "$root/tmp/"
    installed_packages >"$scratch/before"
    if ! in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" \
        >"$scratch/apt.log" 2>&1; then
        fail "$name does not install into a clean root: $(tail -5 "$scratch/apt.log")"
        return
    fi
    installed_packages >"$scratch/after"
    local brought
    brought="$(comm -13 "$scratch/before" "$scratch/after" | paste -sd ' ')"
    echo "check-package: $name in a clean root brings in $(wc -w <<<"$brought") packages:" \
        "$(tr ' ' '\n' <<<"$brought" | grep -E '^(quillon|libqt6)' | paste -sd ' ') ..."
    case "$name" in
    quillon-cli)
        [ "$brought" = quillon-cli ] || fail "quillon-cli brought more than itself: $brought"
        local status
        status="$(in_root quillon-cli /tmp/quillon-sample.flv)" || fail "quillon-cli failed: $status"
        [ "$status" = "/tmp/quillon-sample.flv: Finished" ] || fail "quillon-cli printed '$status'"
        [ -s "$root/tmp/quillon-sample.mp3" ] || fail "quillon-cli wrote no MP3 in the clean root"
        ;;
    quillon)
        [[ " $brought " != *" quillon-cli "* ]] || fail "quillon brought in quillon-cli"
        [[ " $brought " == *" libqt6widgets6 "* ]] || fail "quillon did not bring in Qt: $brought"
        [ "$(in_root quillon --version)" = "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)" ] ||
            fail "quillon --version does not name the package's version"
        local words
        words="$(in_root quillon /tmp/quillon-sample.flv 2>&1)" && fail "quillon ran without a display"
        [ "$words" = "quillon: no display; use quillon-cli" ] || fail "quillon without a display said '$words'"
        ;;
    esac
    # Purged, it leaves none of its files (its folders may stay where others share them).
    in_root apt-get purge -y -q "$name" >"$scratch/apt.log" 2>&1 || fail "$name does not purge"
    while IFS= read -r file; do
        [ ! -e "$root/$file" ] && [ ! -L "$root/$file" ] || fail "purging $name left /$file"
    done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||')
    rm -rf "$root"
}

for deb in "${debs[@]}"; do
    check_in_clean_root "$(dpkg-deb -f "$deb" Package)" "$deb"
done
if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-package: both packages install into a clean $VERSION_CODENAME root, run there, and" \
    "purge without a trace"
