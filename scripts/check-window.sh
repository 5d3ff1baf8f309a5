#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real window under a virtual X display through AT-SPI, as a screen reader and a user
# would: what the window, the list and the bar are to assistive technology, the status changes a
# run announces; then a stop signal and a lost display in the middle of a file, after which the
# process must end in order and leave no partial output. Run by `make test` (CTest) where Xvfb,
# D-Bus and AT-SPI's Python bindings are installed (`scripts/install-deps.sh check`), skipped with
# a message (exit 77) where they are not.
# Usage: scripts/check-window.sh PATH-TO-quillon
set -euo pipefail
quillon="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
# Debian's own Python carries the GObject bindings; another one first on PATH would not.
python=/usr/bin/python3

skip() {
    echo "check-window: skipped: $*"
    exit 77
}
command -v Xvfb >/dev/null || skip "no Xvfb"
command -v dbus-run-session >/dev/null || skip "no dbus-run-session"
[ -x "$python" ] || skip "no $python"
"$python" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' \
    2>/dev/null || skip "no AT-SPI bindings for Python (gir1.2-atspi-2.0, python3-gi)"

# A session bus of its own, so the check neither needs nor disturbs a desktop session.
exec dbus-run-session -- "$python" "$here/check-window.py" "$quillon" \
    "$here/../tests/fixtures/mp3-only.flv"
