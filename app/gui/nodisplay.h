// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::gui {

// The window's exit status when it has no display to open on.
inline constexpr int kExitNoDisplay = 1;

// True when the environment names no display (DISPLAY, WAYLAND_DISPLAY) and no Qt platform
// (QT_QPA_PLATFORM): the window has nowhere to open.
bool noDisplayNamed();

// Tells the user, on stderr, to use the command line instead.
void reportNoDisplay();

// While it lives, a display that is named but cannot be reached ends the program with
// kExitNoDisplay and the same words, where Qt would abort. One around the application's
// construction, which is where Qt connects to the display.
class NoDisplayExit {
public:
    NoDisplayExit();
    ~NoDisplayExit();
    NoDisplayExit(const NoDisplayExit&) = delete;
    NoDisplayExit& operator=(const NoDisplayExit&) = delete;
};

} // namespace quillon::gui
