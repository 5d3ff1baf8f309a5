// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/webpageopener.h"

#include <QDesktopServices>

namespace quillon::ui {

void DesktopWebPageOpener::openUrl(const QUrl& url) {
    // Nothing useful can be done when no browser answers; the user simply sees no page.
    (void)QDesktopServices::openUrl(url);
}

} // namespace quillon::ui
