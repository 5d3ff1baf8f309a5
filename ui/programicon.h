// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace quillon::ui {

// The program's icon at every size it is installed in, from 16 to 256 pixels: a strip of film
// with a note across it. The same images go into the desktop's icon theme.
QIcon programIcon();

// One size of it exactly as rendered, or a null pixmap for a size that was not.
QPixmap programIconPixmap(int size);

} // namespace quillon::ui
