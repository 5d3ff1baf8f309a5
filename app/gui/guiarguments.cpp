// SPDX-License-Identifier: GPL-3.0-or-later
#include "guiarguments.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace quillon::gui {

namespace {

// A drop hands over full paths without "." or ".." in them; a name typed on the command line
// becomes the same path, so that it is listed exactly as that file dropped would be.
QString fullPath(const std::string& arg) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(QFile::decodeName(arg.c_str())));
}

} // namespace

GuiArguments parseGuiArguments(const std::vector<std::string>& args) {
    GuiArguments result;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (arg.empty()) {
                continue;
            }
            const QString path = fullPath(arg);
            // A link counts as there even when its target is not, as it does for a drop.
            struct stat info {};
            if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
                result.files.append(path);
            } else {
                result.notFound.push_back({arg, {errno, std::generic_category()}});
            }
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            result.action = GuiArguments::Action::Help;
            return result;
        } else if (arg == "--version") {
            result.action = GuiArguments::Action::Version;
            return result;
        } else {
            result.action = GuiArguments::Action::UsageError;
            result.error = "unknown option '" + arg + "'";
            return result;
        }
    }
    return result;
}

} // namespace quillon::gui
