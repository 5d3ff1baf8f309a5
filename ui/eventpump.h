// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::ui {

// Lets the user interface handle what is waiting while a long operation runs on its thread.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void PumpMessages() = 0;
};

} // namespace quillon::ui
