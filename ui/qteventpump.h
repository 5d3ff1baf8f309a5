// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/eventpump.h"

#include <chrono>
#include <functional>

namespace quillon::ui {

// True when the program's connection to an X display has broken; false on other platforms.
bool x11ConnectionBroken();

// Lets Qt handle pending events from inside a long loop on the user-interface thread. The loop
// may ask after every FLV tag, far more often than anyone can see, so events are handled at most
// once per interval: often enough for the window to repaint and answer clicks, rarely enough that
// the asking costs the run nothing.
//
// Qt ends the process on the spot when it finds its display gone, partial output and all, so the
// pump looks first and, once the display is gone, handles nothing more and says so instead.
class QtEventPump final : public EventPump {
public:
    explicit QtEventPump(std::chrono::microseconds interval = std::chrono::milliseconds(8),
                         std::function<bool()> displayBroken = x11ConnectionBroken);
    void PumpMessages() override;
    bool windowSystemGone() const override { return gone_; }

private:
    std::chrono::microseconds interval_;
    std::function<bool()> displayBroken_;
    std::chrono::steady_clock::time_point last_{};
    bool gone_ = false;
};

} // namespace quillon::ui
