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
};

} // namespace quillon::ui
