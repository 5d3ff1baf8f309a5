#include "ui/programicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillon::ui {

QPixmap programIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A blue film frame with a row of sprocket holes along its top and bottom edges.
    const QRectF frame(0.03 * s, 0.12 * s, 0.94 * s, 0.76 * s);
    QLinearGradient body(frame.topLeft(), frame.bottomLeft());
    body.setColorAt(0.0, QColor(0x6E, 0x93, 0xE6));
    body.setColorAt(1.0, QColor(0x1F, 0x3F, 0x8F));
    p.setPen(QPen(QColor(0x14, 0x2A, 0x63), s >= 32 ? 1.5 : 1.0));
    p.setBrush(body);
    p.drawRoundedRect(frame, 0.1 * s, 0.1 * s);

    const int holes = size >= 32 ? 6 : 4;
    const qreal hole = s >= 32 ? 0.07 * s : 0.1 * s;
    const qreal step = frame.width() / holes;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    for (int i = 0; i < holes; ++i) {
        const qreal x = frame.left() + step * (i + 0.5) - hole / 2;
        p.drawRect(QRectF(x, frame.top() + 0.05 * s, hole, hole));
        p.drawRect(QRectF(x, frame.bottom() - 0.05 * s - hole, hole, hole));
    }

    // An orange eighth note across the frame: the sound taken out of the video.
    const QColor note(0xFF, 0xB3, 0x2E);
    p.setBrush(note);
    p.setPen(QPen(QColor(0x7A, 0x42, 0x00), s >= 32 ? 1.0 : 0.6));
    const QRectF head(0.26 * s, 0.56 * s, 0.3 * s, 0.22 * s);
    p.save();
    p.translate(head.center());
    p.rotate(-20);
    p.drawEllipse(QRectF(-head.width() / 2, -head.height() / 2, head.width(), head.height()));
    p.restore();
    const qreal stemX = head.right() - 0.03 * s;
    const qreal stemWidth = qMax<qreal>(1.0, 0.07 * s);
    QPainterPath flag;
    flag.moveTo(stemX, 0.2 * s);
    flag.cubicTo(stemX + 0.12 * s, 0.26 * s, stemX + 0.26 * s, 0.32 * s, stemX + 0.16 * s, 0.5 * s);
    flag.cubicTo(stemX + 0.18 * s, 0.38 * s, stemX + 0.08 * s, 0.34 * s, stemX, 0.33 * s);
    flag.closeSubpath();
    p.drawPath(flag);
    p.drawRect(QRectF(stemX - stemWidth, 0.2 * s, stemWidth, 0.48 * s));
    p.end();
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(programIconPixmap(size));
    }
    return icon;
}

} // namespace quillon::ui
