// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace quillon::ui {

enum class MessageIcon { Information, Critical };

// A modal message to the user; returns once the user has dismissed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void showMessage(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    // The same for a message that comes while a run waits for it: the owner window keeps taking
    // a close request (the system drops those to a window a modal box blocks), and a close of
    // the owner takes the box away with it.
    virtual void showRunMessage(std::string_view text, std::string_view title, MessageIcon icon) {
        showMessage(text, title, icon);
    }
};

} // namespace quillon::ui
