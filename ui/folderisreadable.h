// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filesystem.h"

#include <QString>

namespace quillon::ui {

// The test a browsed folder must pass before outputs may go there: it becomes the process's
// current directory. True when that worked; the new current directory stays in effect.
bool FolderIsReadable(platform::FileSystem& files, const QString& path);

} // namespace quillon::ui
