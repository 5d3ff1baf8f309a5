#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make install`: installs the build under PREFIX (inside DESTDIR when that is set) and records in
# a manifest every file it put there and every folder it had to make, so that `make uninstall`
# removes exactly those. When the build is already there and up to date this only copies files:
# run as root (sudo make install) it never starts the package manager or the compiler.
# Usage: [DESTDIR=...] scripts/install.sh BUILD-FOLDER PREFIX MANIFEST
set -euo pipefail
build="$1"
prefix="$2"
manifest="$3"
destdir="${DESTDIR:-}"
cd "$(dirname "$0")/.."

if [ ! -f "$build/build.ninja" ]; then
    echo "install: nothing built in $build yet; building it first"
    make --no-print-directory build BUILD_DIR="$build"
elif [ -n "$(ninja -C "$build" -n | grep -v '^ninja: ' || true)" ]; then
    if [ "$(id -u)" -eq 0 ] && [ "$(stat -c %u "$build")" -ne 0 ]; then
        echo "install: the build in $build is not up to date; run 'make' as $(stat -c %U "$build")" \
            "first, then 'sudo make install'" >&2
        exit 1
    fi
    cmake --build "$build"
fi

# The nearest folder that exists must take new entries, or nothing can be installed.
target="$destdir$prefix"
existing="$target"
while [ ! -e "$existing" ]; do
    existing="$(dirname "$existing")"
done
if [ ! -w "$existing" ]; then
    echo "install: $existing is not writable; install as root: sudo make install" >&2
    exit 1
fi

# What the install will put there, learnt from an install into a scratch folder, so that the
# folders it has to make are known before it makes them.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch" cmake --install "$build" --prefix "$prefix" >/dev/null
created=()
while IFS= read -r -d '' folder; do
    folder="$destdir${folder#"$scratch"}"
    [ -e "$folder" ] || created+=("$folder/")
done < <(find "$scratch" -mindepth 1 -type d -print0)
# The folders above the prefix that do not exist yet (a new DESTDIR) are made as well.
above="$(dirname "$target")"
while [ ! -e "$above" ]; do
    created+=("$above/")
    above="$(dirname "$above")"
done

DESTDIR="$destdir" cmake --install "$build" --prefix "$prefix"
# CMake's own list: the files just installed, without DESTDIR in front and the last one without
# a newline. It is read and removed, so that a root install leaves no file of root's in the build
# folder.
cmake_manifest="$build/install_manifest.txt"
{
    if [ -f "$manifest" ]; then
        cat "$manifest"
    fi
    while IFS= read -r file || [ -n "$file" ]; do
        printf '%s%s\n' "$destdir" "$file"
    done <"$cmake_manifest"
    if [ ${#created[@]} -gt 0 ]; then
        printf '%s\n' "${created[@]}"
    fi
} | sort -u >"$manifest.new"
mv "$manifest.new" "$manifest"
rm -f "$cmake_manifest"
if [ "$(id -u)" -eq 0 ]; then
    chown --reference="$build" "$manifest"
fi
echo "install: $(grep -vc '/$' "$manifest") files listed in $manifest for 'make uninstall'"
