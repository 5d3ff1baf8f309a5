// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace quillon::ui {

// Chooses one folder. Behind an interface so tests can answer it without a dialog.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // Shows `title` above the folder tree and preselects `initialFolder` when it names an
    // existing folder, or else the nearest of its parents that exists. Returns the chosen folder's
    // full path without a trailing separator (the root keeps its own), or an empty text when the
    // user cancelled.
    virtual QString BrowseForFolder(QWidget* owner, const QString& title,
                                    const QString& initialFolder) = 0;
};

} // namespace quillon::ui
