// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filesystem.h"

#include <QString>

namespace quillon::ui {

// The test a browsed folder must pass before outputs may go there: the file layer's answer to
// whether outputs can go into it, the same the command line asks for -o.
bool FolderIsReadable(platform::FileSystem& files, const QString& path);

} // namespace quillon::ui
