// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/eventpump.h"

#include <chrono>

namespace quillon::ui {

// Lets Qt handle pending events from inside a long loop on the user-interface thread. The loop
// may ask after every FLV tag, far more often than anyone can see, so events are handled at most
// once per interval: often enough for the window to repaint and answer clicks, rarely enough that
// the asking costs the run nothing.
class QtEventPump final : public EventPump {
public:
    explicit QtEventPump(std::chrono::microseconds interval = std::chrono::milliseconds(8));
    void PumpMessages() override;

private:
    std::chrono::microseconds interval_;
    std::chrono::steady_clock::time_point last_{};
};

} // namespace quillon::ui
