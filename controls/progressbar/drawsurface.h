// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colors.h"
#include "gdirect.h"

#include <QPainter>
#include <QRect>

class QFont;
class QImage;
class QPaintDevice;
class QString;

namespace quillon::controls {

enum class EdgeKind {
    Etched,      // sunken outer ring, raised inner ring
    Bump,        // raised outer ring, sunken inner ring
    SunkenOuter, // one sunken ring
};

// Raster operations with the classic pixel rules on a Qt paint device: fills cover left..right-1,
// frames lie just inside their rectangle, lines leave out their end point. Everything is clipped
// to `bounds`, so coordinates far outside the surface cost nothing. Colours are plain RGB.
class DrawSurface {
public:
    DrawSurface(QPaintDevice* device, const QRect& bounds);
    ~DrawSurface();

    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    bool isActive() const { return device_ != nullptr && !bounds_.isEmpty(); }
    const QRect& bounds() const { return bounds_; }

    void fill(const GdiRect& r, ColorRef c);
    void frame(const GdiRect& r, ColorRef c);
    void line(int x1, int y1, int x2, int y2, ColorRef c);
    void setPixel(int x, int y, ColorRef c);
    void edge(const GdiRect& r, EdgeKind kind, ColorRef light, ColorRef dark);
    // The spaces between the hatch lines get `background`; the pattern is aligned to the origin.
    void fillHatch(const GdiRect& r, Qt::BrushStyle hatch, ColorRef fore, ColorRef background);
    // Tiles `picture` over r, aligned to the surface origin. An opaque picture's pixels are copied;
    // translucent ones would be blended, so callers drop the alpha first.
    void fillPattern(const GdiRect& r, const QImage& picture);
    // Draws one line of text with its top-left at (x, y), clipped to `clip`.
    void text(int x, int y, const GdiRect& clip, const QString& text, const QFont& font,
              ColorRef c);

    // Width and height of one line of text in `font` on this surface.
    QSize measure(const QString& text, const QFont& font) const;

    // The part of r on the surface, or an empty rectangle.
    QRect clipped(const GdiRect& r) const;

private:
    // Started on first use: most paints need no more than solid fills.
    QPainter& painter();

    QPaintDevice* device_ = nullptr;
    QRect bounds_;
    QPainter painter_;
    // Solid fills go straight into the pixels of a 32-bit image; QPainter's per-call set-up
    // would dominate the cost of the many one-pixel lines of a gradient.
    uchar* pixels_ = nullptr;
    qsizetype bytesPerLine_ = 0;
};

} // namespace quillon::controls
