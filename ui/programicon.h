#pragma once

#include <QIcon>

namespace quillon::ui {

// The program's icon, painted at 16, 32 and 48 pixels: a strip of film turning into a note.
QIcon programIcon();

// One size of it, for checking the drawing.
QPixmap programIconPixmap(int size);

} // namespace quillon::ui
