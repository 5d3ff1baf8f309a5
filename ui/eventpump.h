// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::ui {

// Lets the user interface handle what is waiting while a long operation runs on its thread.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void PumpMessages() = 0;
    // True once the window system has gone (the display's connection broke): no event will come
    // again, and whatever runs should end in order while it still can.
    virtual bool windowSystemGone() const { return false; }
};

} // namespace quillon::ui
