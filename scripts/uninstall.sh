#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make uninstall`: removes exactly what `make install` recorded in the manifest: the files it
# installed, then the folders it made, where nothing else has been put into them since.
# Usage: scripts/uninstall.sh MANIFEST
set -euo pipefail
manifest="$1"
if [ ! -f "$manifest" ]; then
    echo "uninstall: no manifest at $manifest: nothing was installed from this build"
    exit 0
fi
status=0
removed=0
while IFS= read -r path; do
    case "$path" in
    "" | */) ;;
    *)
        if [ -L "$path" ] || [ -f "$path" ]; then
            rm -f -- "$path" || status=1
            removed=$((removed + 1))
        elif [ -e "$path" ]; then
            echo "uninstall: $path is no longer a file; left alone" >&2
        fi
        ;;
    esac
done <"$manifest"
# Deepest first: a folder comes after everything inside it in reverse order.
while IFS= read -r folder; do
    if [ -d "$folder" ] && ! rmdir -- "$folder" 2>/dev/null; then
        echo "uninstall: $folder holds files that were not installed from here; left alone" >&2
    fi
done < <(grep '/$' "$manifest" | sort -r)
if [ "$status" -eq 0 ]; then
    rm -f "$manifest"
fi
echo "uninstall: removed $removed files"
exit "$status"
