// SPDX-License-Identifier: GPL-3.0-or-later
#include "guiarguments.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace quillon::gui {

namespace {

// A drop hands over full paths without "." or ".." in them; a name typed on the command line
// becomes the same path, so that it is listed exactly as that file dropped would be. The bytes
// are kept as they are: a name need not be UTF-8.
QByteArray fullPath(const std::string& arg) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::path(arg).is_absolute() ? fs::path(arg) : fs::current_path(error) / arg;
    std::string text = path.lexically_normal().native();
    while (text.size() > 1 && text.ends_with('/')) {
        text.pop_back();
    }
    return QByteArray::fromStdString(text);
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
            const QByteArray path = fullPath(arg);
            // A link counts as there even when its target is not, as it does for a drop.
            struct stat info {};
            if (::lstat(path.constData(), &info) == 0) {
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
