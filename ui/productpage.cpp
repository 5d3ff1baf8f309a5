// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/productpage.h"

namespace quillon::ui {

QString productPageAddress() {
    return QStringLiteral(QUILLON_PRODUCT_PAGE);
}

} // namespace quillon::ui
