// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// A file's path as the system names it: the bytes of a POSIX path, which need not be valid UTF-8.
// The list keeps these, so every file is found, read and its output named exactly, whatever its
// name holds; people see the readable form.
namespace quillon::ui {

// The path for people: UTF-8 decoded, each byte that is not part of a character shown as the
// replacement character.
QString displayPath(const QByteArray& native);

// A path that Qt hands out (a dialog's answer) as the system names it.
QByteArray nativePath(const QString& path);

// The path of a local file's URL, byte for byte, also where it is not UTF-8; empty for any other
// URL.
QByteArray nativePath(const QUrl& url);

// The URL of a local path that keeps every byte of it, for the desktop to open.
QUrl fileUrl(const QByteArray& native);

enum class PathKind { Missing, Folder, Other };
// What stands under the path now; a link counts as what it points to, a dangling one as Other.
PathKind pathKind(const QByteArray& native);

} // namespace quillon::ui
