// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/nativepath.h"

#include <QFile>
#include <QUrl>
#include <filesystem>
#include <string>
#include <system_error>

namespace quillon::ui {

QString displayPath(const QByteArray& native) {
    return QString::fromUtf8(native);
}

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray nativePath(const QUrl& url) {
    if (!url.isLocalFile()) {
        return {};
    }
    // toLocalFile() decodes as UTF-8 and loses the bytes that are not; the encoded path keeps
    // them as %XX.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QUrl fileUrl(const QByteArray& native) {
    return QUrl::fromEncoded("file://" + native.toPercentEncoding("/"));
}

PathKind pathKind(const QByteArray& native) {
    namespace fs = std::filesystem;
    const fs::path path(std::string(native.constData(), std::size_t(native.size())));
    std::error_code error;
    const fs::file_status target = fs::status(path, error);
    if (fs::is_directory(target)) {
        return PathKind::Folder;
    }
    if (fs::exists(target) || fs::is_symlink(fs::symlink_status(path, error))) {
        return PathKind::Other;
    }
    return PathKind::Missing;
}

} // namespace quillon::ui
