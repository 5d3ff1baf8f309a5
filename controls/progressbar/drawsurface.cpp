// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawsurface.h"

#include "rounding.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quillon::controls {

namespace {

QColor qcolor(ColorRef c) {
    return QColor(toQRgb(c));
}

// The minor-axis offset of step `step` of a line that moves `delta` on its minor axis over `steps`
// steps (|delta| <= steps): step * delta / steps rounded to the nearest integer, halves toward the
// smaller value. Exact in integers: with coordinates of 32 bits, step * |delta| fits 64 bits
// unsigned, and the remainder test needs no more.
std::int64_t lineMinorOffset(std::int64_t step, std::int64_t delta, std::int64_t steps) {
    const std::uint64_t product =
        static_cast<std::uint64_t>(step) * static_cast<std::uint64_t>(delta < 0 ? -delta : delta);
    const auto divisor = static_cast<std::uint64_t>(steps);
    const auto quotient = static_cast<std::int64_t>(product / divisor);
    const std::uint64_t twiceRest = 2 * (product % divisor);
    if (delta >= 0) {
        return quotient + (twiceRest > divisor ? 1 : 0);
    }
    return -quotient - (twiceRest >= divisor ? 1 : 0);
}

} // namespace

DrawSurface::DrawSurface(QPaintDevice* device, const QRect& bounds)
    : device_(device), bounds_(bounds) {
    if (device == nullptr || device->devType() != QInternal::Image) {
        return;
    }
    auto* image = static_cast<QImage*>(device);
    switch (image->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        bounds_ = bounds_.intersected(image->rect());
        pixels_ = image->bits();
        bytesPerLine_ = image->bytesPerLine();
        break;
    default:
        break;
    }
}

QPainter& DrawSurface::painter() {
    if (!painter_.isActive() && isActive()) {
        painter_.begin(device_);
    }
    return painter_;
}

DrawSurface::~DrawSurface() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

QRect DrawSurface::clipped(const GdiRect& r) const {
    const std::int64_t left = std::max<std::int64_t>(r.left, bounds_.left());
    const std::int64_t top = std::max<std::int64_t>(r.top, bounds_.top());
    const std::int64_t right = std::min<std::int64_t>(r.right, std::int64_t{bounds_.right()} + 1);
    const std::int64_t bottom =
        std::min<std::int64_t>(r.bottom, std::int64_t{bounds_.bottom()} + 1);
    if (right <= left || bottom <= top) {
        return {};
    }
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

void DrawSurface::fill(const GdiRect& r, ColorRef c) {
    const QRect q = clipped(r);
    if (!isActive() || q.isEmpty()) {
        return;
    }
    if (pixels_ != nullptr) {
        const QRgb value = toQRgb(c);
        for (int y = q.top(); y <= q.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(pixels_ + y * bytesPerLine_) + q.left();
            std::fill_n(row, q.width(), value);
        }
        return;
    }
    painter().fillRect(q, qcolor(c));
}

void DrawSurface::frame(const GdiRect& r, ColorRef c) {
    if (r.isEmpty()) {
        return;
    }
    const std::int32_t innerLeft = clampToInt32(std::int64_t{r.left} + 1);
    const std::int32_t innerRight = clampToInt32(std::int64_t{r.right} - 1);
    fill({r.left, r.top, r.right, clampToInt32(std::int64_t{r.top} + 1)}, c);
    fill({r.left, clampToInt32(std::int64_t{r.bottom} - 1), r.right, r.bottom}, c);
    fill({r.left, r.top, innerLeft, r.bottom}, c);
    fill({innerRight, r.top, r.right, r.bottom}, c);
}

void DrawSurface::line(int x1, int y1, int x2, int y2, ColorRef c) {
    if (x1 == x2 && y1 == y2) {
        return;
    }
    const std::int64_t dx = std::int64_t{x2} - x1;
    const std::int64_t dy = std::int64_t{y2} - y1;
    if (dy == 0) {
        // Horizontal: columns x1 up to x2, leaving out x2, in either direction.
        const std::int64_t from = dx > 0 ? x1 : std::int64_t{x2} + 1;
        const std::int64_t to = dx > 0 ? x2 : std::int64_t{x1} + 1;
        fill({clampToInt32(from), y1, clampToInt32(to), clampToInt32(std::int64_t{y1} + 1)}, c);
        return;
    }
    if (dx == 0) {
        const std::int64_t from = dy > 0 ? y1 : std::int64_t{y2} + 1;
        const std::int64_t to = dy > 0 ? y2 : std::int64_t{y1} + 1;
        fill({x1, clampToInt32(from), clampToInt32(std::int64_t{x1} + 1), clampToInt32(to)}, c);
        return;
    }
    // Slanted lines: one pixel per step along the major axis, the end point left out, and on the
    // minor axis the pixel nearest the true line, a tie going to the smaller coordinate. The tie
    // rule does not depend on the direction, so a line covers the same pixels whichever end it
    // starts from (apart from the end point), and the staircase is regular. Only the steps that
    // can land on the surface are visited, so a line between far-away points stays cheap.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t lo = xMajor ? bounds_.left() : bounds_.top();
    const std::int64_t hi = xMajor ? bounds_.right() : bounds_.bottom();
    const std::int64_t start = xMajor ? x1 : y1;
    const std::int64_t minorStart = xMajor ? y1 : x1;
    const std::int64_t dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
    std::int64_t first = 0;
    std::int64_t last = steps - 1;
    if (dir > 0) {
        first = std::max<std::int64_t>(first, lo - start);
        last = std::min<std::int64_t>(last, hi - start);
    } else {
        first = std::max<std::int64_t>(first, start - hi);
        last = std::min<std::int64_t>(last, start - lo);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = start + dir * i;
        const std::int64_t minor = minorStart + lineMinorOffset(i, minorDelta, steps);
        const std::int64_t px = xMajor ? major : minor;
        const std::int64_t py = xMajor ? minor : major;
        setPixel(clampToInt32(px), clampToInt32(py), c);
    }
}

void DrawSurface::setPixel(int x, int y, ColorRef c) {
    fill({x, y, clampToInt32(std::int64_t{x} + 1), clampToInt32(std::int64_t{y} + 1)}, c);
}

void DrawSurface::edge(const GdiRect& r, EdgeKind kind, ColorRef light, ColorRef dark) {
    // One ring: the top and left sides in `topLeft` (short of the far corners), the bottom and
    // right sides in `bottomRight`, which therefore owns the two off-diagonal corners.
    const auto ring = [this](const GdiRect& q, ColorRef topLeft, ColorRef bottomRight) {
        if (q.isEmpty()) {
            return;
        }
        const std::int32_t r1 = clampToInt32(std::int64_t{q.right} - 1);
        const std::int32_t b1 = clampToInt32(std::int64_t{q.bottom} - 1);
        fill({q.left, q.top, r1, clampToInt32(std::int64_t{q.top} + 1)}, topLeft);
        fill({q.left, q.top, clampToInt32(std::int64_t{q.left} + 1), b1}, topLeft);
        fill({q.left, b1, q.right, q.bottom}, bottomRight);
        fill({r1, q.top, q.right, q.bottom}, bottomRight);
    };
    const GdiRect inner{
        clampToInt32(std::int64_t{r.left} + 1), clampToInt32(std::int64_t{r.top} + 1),
        clampToInt32(std::int64_t{r.right} - 1), clampToInt32(std::int64_t{r.bottom} - 1)};
    switch (kind) {
    case EdgeKind::Etched:
        ring(r, dark, light);
        ring(inner, light, dark);
        break;
    case EdgeKind::Bump:
        ring(r, light, dark);
        ring(inner, dark, light);
        break;
    case EdgeKind::SunkenOuter:
        ring(r, dark, light);
        break;
    }
}

void DrawSurface::fillHatch(const GdiRect& r, Qt::BrushStyle hatch, ColorRef fore,
                            ColorRef background) {
    const QRect q = clipped(r);
    if (!isActive() || q.isEmpty()) {
        return;
    }
    fill(r, background);
    QPainter& p = painter();
    p.setBrushOrigin(0, 0);
    p.fillRect(q, QBrush(qcolor(fore), hatch));
}

void DrawSurface::fillPattern(const GdiRect& r, const QImage& picture) {
    const QRect q = clipped(r);
    if (!isActive() || q.isEmpty() || picture.isNull()) {
        return;
    }
    QPainter& p = painter();
    p.setBrushOrigin(0, 0);
    p.fillRect(q, QBrush(picture));
}

void DrawSurface::text(int x, int y, const GdiRect& clip, const QString& text, const QFont& font,
                       ColorRef c) {
    const QRect q = clipped(clip);
    if (!isActive() || q.isEmpty() || text.isEmpty()) {
        return;
    }
    QPainter& p = painter();
    p.save();
    p.setClipRect(q);
    p.setFont(font);
    p.setPen(qcolor(c));
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
    p.restore();
}

QSize DrawSurface::measure(const QString& text, const QFont& font) const {
    const QFontMetrics metrics(font, device_);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace quillon::controls
