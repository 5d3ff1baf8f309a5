#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real Quillon window under Xvfb through AT-SPI; see check-window.sh.

Usage: check-window.py PATH-TO-quillon AN-MP3-FLV
"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

QUILLON, SAMPLE = sys.argv[1], sys.argv[2]
FAILURES = []


def check(ok, what):
    print(("ok:   " if ok else "FAIL: ") + what)
    if not ok:
        FAILURES.append(what)
    return ok


def start_display():
    """Starts Xvfb on a free display; returns the process and the display's name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip():
        sys.exit("check-window: Xvfb gave no display (exit %r)" % xvfb.wait())
    return xvfb, ":" + number.decode().strip()


def pump_until(condition, seconds):
    """Lets AT-SPI deliver its events until `condition` holds or the time is up."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        if condition():
            return True
        time.sleep(0.02)
    return False


def find(node, wanted, depth=0):
    if node is None or depth > 8:
        return None
    if wanted(node):
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), wanted, depth + 1)
        if found is not None:
            return found
    return None


def role_and_name(role, name):
    return lambda node: node.get_role_name() == role and node.get_name() == name


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def window_named(app, name):
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and window.get_name() == name:
            return window
    return None


def press(button):
    return button is not None and button.do_action(0)


def partial_outputs(folder):
    return glob.glob(os.path.join(folder, ".*.part"))


class Window:
    """A running `quillon` with its files, found on the accessibility bus."""

    def __init__(self, display, folder, names):
        env = dict(os.environ, DISPLAY=display, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("QT_QPA_PLATFORM", None)
        # Under AddressSanitizer: connecting to a real X server, libxkbcommon-x11 hands strndup a
        # keymap name that is not NUL-terminated, within its length, which strict string checks
        # report as an overflow. Only this check runs the window on a real X server.
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":strict_string_checks=0"
        # Kept so that a window that never shows up can say why.
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen([QUILLON] + names, cwd=folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=self.errors)
        self.app = None
        pump_until(lambda: self._found() or self.process.poll() is not None, 60)
        self.frame = window_named(self.app, "Quillon 1.04") if self.app else None

    def why_missing(self):
        """What is known of a window that did not show up on the accessibility bus."""
        code = self.process.poll()
        self.errors.seek(0)
        said = self.errors.read().decode(errors="replace").strip().splitlines()[-5:]
        where = ("its process ended with %r" % code if code is not None else
                 "its process runs, %s" % ("on the bus without that window" if self.app else
                                           "not on the accessibility bus after 60 s"))
        return "; ".join([where] + said)

    def _found(self):
        self.app = application(self.process.pid)
        return self.app is not None and self.app.get_child_count() > 0

    def status(self, row):
        """The text of row `row`'s status cell (rows from 0)."""
        tree = find(self.frame, role_and_name("tree", "Files"))
        cell = tree.get_accessible_at(row, 1) if tree is not None else None
        return cell.get_name() if cell is not None else None

    def extract(self):
        """Presses Extract and confirms the output folder dialog as it comes."""
        press(find(self.frame, role_and_name("push button", "Extract")))
        dialog = []
        pump_until(lambda: dialog.append(window_named(self.app, "Output path")) or dialog[-1], 10)
        return press(find(dialog[-1], role_and_name("push button", "OK")))

    def ended(self, seconds):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None


def silent_pipe(folder, name, first_bytes):
    """A pipe whose writer sends `first_bytes` and then nothing; returns the writer's end."""
    path = os.path.join(folder, name)
    os.mkfifo(path)
    # Open for reading too, so neither end waits for the other.
    fd = os.open(path, os.O_RDWR)
    os.write(fd, first_bytes)
    return fd


def run_followed_and_stopped_by_a_signal(display):
    folder = tempfile.mkdtemp(prefix="quillon-check-window-")
    try:
        shutil.copy(SAMPLE, os.path.join(folder, "a.flv"))
        with open(os.path.join(folder, "broken.flv"), "wb") as broken:
            broken.write(b"not a video")
        with open(SAMPLE, "rb") as sample:
            start = sample.read(4096)
        writer = silent_pipe(folder, "slow.flv", start)

        names_seen = []

        def on_name(event):
            try:
                names_seen.append((event.source.get_role_name(), event.source.get_name()))
            except GLib.Error:
                pass

        listener = Atspi.EventListener.new(on_name)
        listener.register("object:property-change:accessible-name")

        window = Window(display, folder, ["a.flv", "broken.flv", "slow.flv"])
        if not check(window.frame is not None,
                     "the main window is a frame named Quillon 1.04" +
                     ("" if window.frame is not None else ": " + window.why_missing())):
            window.ended(0)
            return
        check(find(window.frame, role_and_name("tree", "Files")) is not None,
              "the list is a tree named Files")
        bar = find(window.frame, role_and_name("progress bar", "Progress of the file being read"))
        check(bar is not None, "the bar is a progress bar with its name")
        check(window.status(2) == "Ready", "rows start Ready")

        check(window.extract(), "Extract and OK pressed")
        check(pump_until(lambda: window.status(2) == "Extracting...", 20),
              "the silent pipe's row shows Extracting...")
        check(pump_until(lambda: window.frame.get_name() == "Quillon \u2014 3 of 3", 5),
              "the title says where the run is: " + repr(window.frame.get_name()))
        for status in ("Finished", "Error: Can not read the flv file", "Extracting..."):
            check(pump_until(lambda: status in {n for r, n in names_seen if r == "table cell"}, 5),
                  "status change announced: " + status)
        check(pump_until(lambda: bar.get_maximum_value() == 100 and
                         bar.get_description() == "%d %%" % int(bar.get_current_value()), 5),
              "the bar's value and its text: %d, %r" % (bar.get_current_value(),
                                                        bar.get_description()))
        check(pump_until(lambda: len(partial_outputs(folder)) == 1, 5),
              "the pipe's output is being written")

        window.process.send_signal(signal.SIGTERM)
        code = window.ended(15)
        check(code == 128 + signal.SIGTERM, "SIGTERM ends the window with 143: %r" % code)
        check(partial_outputs(folder) == [], "no partial output left")
        check(not os.path.exists(os.path.join(folder, "slow.mp3")), "no output for the stopped row")
        check(os.path.exists(os.path.join(folder, "a.mp3")), "the finished row's output stays")
        listener.deregister("object:property-change:accessible-name")
        os.close(writer)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def run_that_loses_its_display(display, xvfb):
    folder = tempfile.mkdtemp(prefix="quillon-check-window-")
    try:
        with open(SAMPLE, "rb") as sample:
            start = sample.read(4096)
        writer = silent_pipe(folder, "slow.flv", start)
        window = Window(display, folder, ["slow.flv"])
        if not check(window.frame is not None, "the window is up again" +
                     ("" if window.frame is not None else ": " + window.why_missing())):
            window.ended(0)
            return
        check(window.extract(), "Extract and OK pressed")
        check(pump_until(lambda: window.status(0) == "Extracting...", 20),
              "the silent pipe's row shows Extracting...")
        check(pump_until(lambda: len(partial_outputs(folder)) == 1, 5),
              "the pipe's output is being written")
        xvfb.kill()
        xvfb.wait()
        code = window.ended(15)
        check(code is not None, "a lost display ends the window (exit %r)" % code)
        check(partial_outputs(folder) == [], "no partial output left")
        os.close(writer)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    xvfb, display = start_display()
    os.environ["DISPLAY"] = display
    try:
        run_followed_and_stopped_by_a_signal(display)
        run_that_loses_its_display(display, xvfb)
    finally:
        if xvfb.poll() is None:
            xvfb.kill()
            xvfb.wait()
    if FAILURES:
        print("check-window: %d check(s) failed" % len(FAILURES))
        return 1
    print("check-window: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
