// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pathtext.h"

#include "platform/pathparts.h"

#include <QStringList>

namespace quillon::ui {

bool hasFlvExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".flv"), Qt::CaseInsensitive);
}

QString folderPart(const QString& path) {
    return path.left(static_cast<qsizetype>(platform::nameStart(path)));
}

QString withTrailingSeparator(const QString& folder) {
    return platform::withTrailingSeparator(folder);
}

QString withoutTrailingSeparator(const QString& folder) {
    if (folder.size() > 1 && platform::isPathSeparator(folder.back())) {
        return folder.chopped(1);
    }
    return folder;
}

namespace {

// Breaks one line; `pieces` are its parts, each ending after a separator (the last one maybe not).
QString wrapLine(const QString& line, int maxWidth,
                 const std::function<int(const QString&)>& widthOf) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (platform::isPathSeparator(line[i])) {
            pieces.append(line.mid(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < line.size()) {
        pieces.append(line.mid(start));
    }
    QStringList lines;
    QString current;
    for (QString piece : pieces) {
        if (!current.isEmpty() && widthOf(current + piece) > maxWidth) {
            lines.append(current);
            current.clear();
        }
        // A name wider than a line on its own is cut where the line is full, never inside a
        // character that takes two code units.
        while (widthOf(current + piece) > maxWidth && piece.size() > 1) {
            qsizetype fits = 0;
            while (fits < piece.size()) {
                const qsizetype next = fits + (piece[fits].isHighSurrogate() ? 2 : 1);
                if (fits > 0 && widthOf(current + piece.left(next)) > maxWidth) {
                    break;
                }
                fits = next;
            }
            if (fits >= piece.size()) {
                break;
            }
            lines.append(current + piece.left(fits));
            current.clear();
            piece = piece.mid(fits);
        }
        current += piece;
    }
    lines.append(current);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString wrapPathText(const QString& text, int maxWidth,
                     const std::function<int(const QString&)>& widthOf) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = wrapLine(line, maxWidth, widthOf);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace quillon::ui
