// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>

namespace quillon::ui {

// Hands a web address to the desktop's browser. Behind an interface so tests see what would be
// opened without starting a browser.
class WebPageOpener {
public:
    virtual ~WebPageOpener() = default;
    virtual void openUrl(const QUrl& url) = 0;
};

class DesktopWebPageOpener final : public WebPageOpener {
public:
    void openUrl(const QUrl& url) override;
};

} // namespace quillon::ui
