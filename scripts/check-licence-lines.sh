#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming them, when source or build files lack the licence line near their top (after a
# "#!" line or an XML declaration). Usage: scripts/check-licence-lines.sh [SOURCE-FOLDER]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
tag='SPDX-License-Identifier: GPL-3.0-or-later'

if [ -d .git ] && command -v git >/dev/null; then
    list() { git ls-files; }
else
    list() { find . -path ./.git -prune -o -path './build*' -prune -o -type f -print | sed 's|^\./||'; }
fi

missing=0
checked=0
while IFS= read -r file; do
    case "$file" in
    tests/fixtures/*.sh) ;;
    tests/fixtures/* | fuzz/seeds/* | fuzz/corpus-run/*) continue ;;
    *.cpp | *.h | *.py | *.sh | *.cmake | */CMakeLists.txt | CMakeLists.txt | Makefile | .ci/run) ;;
    dist/completion/* | dist/man/*.in | dist/*.desktop.in | dist/*.xml.in | dist/*.svg) ;;
    .clang-format | .clang-tidy) ;;
    *) continue ;;
    esac
    checked=$((checked + 1))
    if ! head -n 3 "$file" | grep -qF "$tag"; then
        echo "no licence line: $file" >&2
        missing=$((missing + 1))
    fi
done < <(list)

if [ "$missing" -gt 0 ]; then
    echo "check-licence-lines: $missing of $checked files lack '$tag'" >&2
    exit 1
fi
echo "check-licence-lines: all $checked files carry the licence line"
