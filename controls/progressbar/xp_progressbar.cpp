// SPDX-License-Identifier: GPL-3.0-or-later
#include "xp_progressbar.h"

#include "accessibleprogressbar.h"
#include "drawsurface.h"
#include "rounding.h"
#include "storedsettings.h"
#include "valuemapping.h"
#include "xpgeometry.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstdint>

namespace quillon::controls {

namespace {

// Beyond this an off-screen image is not attempted and the control paints straight to the screen;
// a progress bar that large is a mistake, and the allocation could starve the machine.
constexpr std::int64_t kMaxBufferBytes = std::int64_t{256} * 1024 * 1024;

QString key(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

XP_ProgressBar::XP_ProgressBar(QWidget* parent) : QWidget(parent), drawDC_(this) {
    installProgressBarAccessibility();
    // Every paint covers the whole client area, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(QFont());
    setHdc();
    setHwnd(this);
    max_ = 100;
    min_ = 0;
    percent_ = 0;
    orientation_ = 0;
    scrolling_ = 0;
    color_ = ResolveColor(kSysColorHighlight, palette());
    // A new control is hidden; showing it paints it.
}

XP_ProgressBar::~XP_ProgressBar() {
    ReleaseBuffer();
}

QSize XP_ProgressBar::sizeHint() const {
    return {200, 24};
}

// ---------------------------------------------------------------------------------------------
// Buffer

QImage* XP_ProgressBar::EnsureBuffer(int w, int h) {
    if (buffer_.isNull()) {
        if (w > 0 && h > 0) {
            CreateBuffer(w, h);
        }
    } else if (w > bufferWidth_ || h > bufferHeight_) {
        CreateBuffer(w, h);
    }
    return buffer_.isNull() ? nullptr : &buffer_;
}

void XP_ProgressBar::CreateBuffer(int w, int h) {
    ReleaseBuffer();
    if (w <= 0 || h <= 0 || std::int64_t{w} * h * 4 > kMaxBufferBytes) {
        return;
    }
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) {
        return;
    }
    image.fill(Qt::white);
    buffer_ = std::move(image);
    bufferWidth_ = w;
    bufferHeight_ = h;
}

void XP_ProgressBar::ReleaseBuffer() {
    buffer_ = QImage();
    bufferWidth_ = 0;
    bufferHeight_ = 0;
    if (drawDC_ == &buffer_) {
        drawDC_ = this;
    }
}

void XP_ProgressBar::setHdc() {
    if (QImage* image = EnsureBuffer(width(), height())) {
        drawDC_ = image;
        buffered_ = true;
    } else {
        drawDC_ = this;
    }
}

// ---------------------------------------------------------------------------------------------
// Painting

void XP_ProgressBar::growBufferIfNeeded() {
    // A hidden widget gets its resize event only when shown, but it can be rendered before then.
    if (width() > bufferWidth_ || height() > bufferHeight_) {
        setHdc();
    }
}

void XP_ProgressBar::DrawProgressBar() {
    repaint();
}

void XP_ProgressBar::paintEvent(QPaintEvent* event) {
    growBufferIfNeeded();
    if (drawDC_ == &buffer_ && !buffer_.isNull()) {
        {
            DrawSurface s(&buffer_, QRect(0, 0, bufferWidth_, bufferHeight_));
            paintLayers(s);
        }
        pDraw(this, 0, 0, width(), height(), 0, 0);
    } else {
        // No off-screen image: paint the exposed part straight onto the widget.
        DrawSurface s(this, event->rect());
        paintLayers(s);
    }
}

void XP_ProgressBar::resizeEvent(QResizeEvent* /*event*/) {
    setHdc();
}

GdiRect XP_ProgressBar::clientRect() const {
    const QWidget* window = hwnd_ ? hwnd_.data() : this;
    return {0, 0, window->width(), window->height()};
}

void XP_ProgressBar::paintLayers(DrawSurface& s) {
    const BarStyle look = style();
    FillSolid(s, clientRect(), look == BarStyle::Dark ? kBlack : kWhite);
    switch (look) {
    case BarStyle::Flat:
        PaintFlat(s);
        break;
    case BarStyle::Etched:
        PaintEtched(s);
        break;
    case BarStyle::Glass:
        PaintGlass(s);
        break;
    case BarStyle::Dark:
        PaintDark(s);
        break;
    case BarStyle::Hatch:
        PaintHatch(s);
        break;
    case BarStyle::Picture:
        PaintPicture(s);
        break;
    case BarStyle::XPGlass:
        PaintXPGlass(s);
        break;
    case BarStyle::XPSegmented:
    case BarStyle::XPSmooth:
    case BarStyle::Searching:
        CalcBar(kXPTrackLeft);
        PaintXPBar(s);
        if (look == BarStyle::XPSegmented) {
            PaintSegments(s, kXPTrackLeft);
        }
        PaintXPFrame(s);
        break;
    }
    PaintCaption(s);
}

void XP_ProgressBar::pDraw(QPaintDevice* hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc,
                           int xDst, int yDst) const {
    if (hdc == nullptr || buffer_.isNull()) {
        return;
    }
    const int w = WidthSrc >= 1 ? WidthSrc : bufferWidth_;
    const int h = HeightSrc >= 1 ? HeightSrc : bufferHeight_;
    QPainter painter(hdc);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(xDst, yDst), buffer_, QRect(xSrc, ySrc, w, h));
}

void XP_ProgressBar::DrawLine(int X, int Y, int Width, int Height, QPaintDevice* cHdc,
                              ColorRef Color) {
    if (cHdc == nullptr) {
        return;
    }
    DrawSurface s(cHdc, QRect(0, 0, cHdc->width(), cHdc->height()));
    drawLine(s, X, Y, Width, Height, Color);
}

void XP_ProgressBar::DrawGradient(ColorRef& lEndColor, ColorRef& lStartcolor, int X, int Y, int X2,
                                  int Y2, QPaintDevice* hdc, bool bH) {
    if (hdc == nullptr) {
        lEndColor = ResolveColor(lEndColor, palette());
        lStartcolor = ResolveColor(lStartcolor, palette());
        return;
    }
    DrawSurface s(hdc, QRect(0, 0, hdc->width(), hdc->height()));
    drawGradient(s, lEndColor, lStartcolor, X, Y, X2, Y2, bH);
}

void XP_ProgressBar::drawLine(DrawSurface& s, int x1, int y1, int x2, int y2, ColorRef c) const {
    s.line(x1, y1, x2, y2, ResolveColor(c, palette()));
}

void XP_ProgressBar::drawGradient(DrawSurface& s, ColorRef& endColor, ColorRef& startColor, int x,
                                  int y, int x2, int y2, bool horizontal) const {
    endColor = ResolveColor(endColor, palette());
    startColor = ResolveColor(startColor, palette());
    const std::int64_t span = horizontal ? x2 : y2;
    if (span < 0) {
        return;
    }
    // Only the steps whose line can land on the surface are drawn; the rest would be clipped.
    const std::int64_t origin = horizontal ? x : y;
    const std::int64_t lo = horizontal ? s.bounds().left() : s.bounds().top();
    const std::int64_t hi = horizontal ? s.bounds().right() : s.bounds().bottom();
    const std::int64_t first = std::max<std::int64_t>(0, lo - origin);
    const std::int64_t last = std::min<std::int64_t>(span, hi - origin);
    const GradientSteps gradient(endColor, startColor, span);
    for (std::int64_t i = first; i <= last; ++i) {
        const ColorRef c = gradient.colorAt(i);
        const int at = static_cast<int>(origin + i);
        if (horizontal) {
            s.line(at, y, at, y2, c);
        } else {
            s.line(x, at, x2, at, c);
        }
    }
}

void XP_ProgressBar::FillSolid(DrawSurface& s, const GdiRect& r, ColorRef c) const {
    s.fill(r, ResolveColor(c, palette()));
}

void XP_ProgressBar::FrameSolid(DrawSurface& s, const GdiRect& r, ColorRef c) const {
    s.frame(r, c & 0xFFFFFF);
}

// ---------------------------------------------------------------------------------------------
// Properties

void XP_ProgressBar::setBrushStyle(int Style) {
    brushStyle_ = Style;
    emit settingChanged(key(kKeyBrushStyle));
}

void XP_ProgressBar::setColor(ColorRef lColor) {
    color_ = ResolveColor(lColor, palette());
    DrawProgressBar();
}

void XP_ProgressBar::setFont(const QFont& fnt) {
    font_ = fnt;
    // Every attribute counts as set, so that painting never fills one in from the device's font.
    font_.setResolveMask(QFont::AllPropertiesResolved);
}

void XP_ProgressBar::storeImage(const QImage& image) {
    image_ = image;
    pattern_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

void XP_ProgressBar::setImage(const QImage& handle) {
    storeImage(handle);
    emit settingChanged(key(kKeyImage));
    DrawProgressBar();
}

void XP_ProgressBar::setMin(int cMin) {
    min_ = cMin;
    emit settingChanged(key(kKeyMin));
}

void XP_ProgressBar::setMax(int cMax) {
    max_ = cMax;
    emit settingChanged(key(kKeyMax));
}

void XP_ProgressBar::setOrientation(int cOrientation) {
    orientation_ = cOrientation;
    emit settingChanged(key(kKeyOrientation));
    DrawProgressBar();
}

void XP_ProgressBar::setScrolling(int lScrolling) {
    scrolling_ = lScrolling;
    emit settingChanged(key(kKeyScrolling));
    DrawProgressBar();
}

void XP_ProgressBar::setShowText(bool bShowText) {
    showText_ = bShowText;
    emit settingChanged(key(kKeyShowText));
    DrawProgressBar();
}

int XP_ProgressBar::Value() const {
    return valueFromPercent(percent_, min_, max_);
}

bool XP_ProgressBar::setValue(int cValue) {
    const std::optional<int> mapped = percentFromValue(cValue, min_, max_);
    if (!mapped) {
        return false;
    }
    // The bar cannot show more than full. The cut is made here, where the value is stored, so that
    // painting only reads; the setter repaints anyway, so nothing else can see the difference.
    const int percent = std::min(*mapped, 100);
    const bool changed = percent != percent_;
    percent_ = percent;
    DrawProgressBar();
    if (changed && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Stored settings

namespace {

template <typename T>
bool readTyped(const PropertyBag& bag, const char* name, T defaultValue, T& out,
               std::string* error) {
    const PropertyValue v = bag.read(key(name), defaultValue);
    if (const T* typed = std::get_if<T>(&v)) {
        out = *typed;
        return true;
    }
    if (error != nullptr) {
        *error = std::string("setting \"") + name + "\" has the wrong value type";
    }
    return false;
}

} // namespace

bool XP_ProgressBar::ReadProperties(const PropertyBag& bag, std::string* error) {
    const PropertyValue* fontValue = bag.find(key(kKeyFont));
    if (fontValue == nullptr) {
        if (error != nullptr) {
            *error = "the settings hold no \"Font\"";
        }
        return false;
    }
    const auto* font = std::get_if<StoredFont>(fontValue);
    if (font == nullptr) {
        if (error != nullptr) {
            *error = "setting \"Font\" has the wrong value type";
        }
        return false;
    }
    // Every type is checked before anything is applied, so a bag that is not the control's leaves
    // it as it was.
    std::int32_t brushStyle = 0, color = 0, max = 0, min = 0, orientation = 0, scrolling = 0,
                 value = 0;
    bool showText = false;
    QImage image;
    if (!readTyped(bag, kKeyBrushStyle, kDefaultBrushStyle, brushStyle, error) ||
        !readTyped(bag, kKeyColor, kDefaultColor, color, error) ||
        !readTyped(bag, kKeyImage, QImage(), image, error) ||
        !readTyped(bag, kKeyMax, kDefaultMax, max, error) ||
        !readTyped(bag, kKeyMin, kDefaultMin, min, error) ||
        !readTyped(bag, kKeyOrientation, kDefaultOrientation, orientation, error) ||
        !readTyped(bag, kKeyScrolling, kDefaultScrolling, scrolling, error) ||
        !readTyped(bag, kKeyShowText, kDefaultShowText, showText, error) ||
        !readTyped(bag, kKeyValue, kDefaultValue, value, error)) {
        return false;
    }

    // Applied in the bag's order, so that Value maps onto the Min and Max just loaded.
    setFont(qfontFromStoredFont(*font));
    fontCharset_ = font->charset;
    brushStyle_ = brushStyle;
    setColor(static_cast<ColorRef>(color));
    storeImage(image);
    setMax(max);
    setMin(min);
    setOrientation(orientation);
    setScrolling(scrolling);
    setShowText(showText);
    if (!setValue(value)) {
        if (error != nullptr) {
            *error = "setting \"Value\" " + std::to_string(value) + " cannot be shown with Min " +
                     std::to_string(min) + " and Max " + std::to_string(max) +
                     "; the other settings were loaded";
        }
        return false;
    }
    return true;
}

PropertyBag XP_ProgressBar::WriteProperties() const {
    PropertyBag bag;
    bag.write(key(kKeyFont), storedFontFromQFont(font_, fontCharset_));
    bag.write(key(kKeyBrushStyle), std::int32_t{brushStyle_}, kDefaultBrushStyle);
    bag.write(key(kKeyColor), static_cast<std::int32_t>(color_), kDefaultColor);
    bag.write(key(kKeyImage), image_, QImage());
    bag.write(key(kKeyMax), std::int32_t{max_}, kDefaultMax);
    bag.write(key(kKeyMin), std::int32_t{min_}, kDefaultMin);
    bag.write(key(kKeyOrientation), std::int32_t{orientation_}, kDefaultOrientation);
    bag.write(key(kKeyScrolling), std::int32_t{scrolling_}, kDefaultScrolling);
    bag.write(key(kKeyShowText), showText_, kDefaultShowText);
    bag.write(key(kKeyValue), std::int32_t{percent_}, kDefaultValue);
    return bag;
}

} // namespace quillon::controls
