// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "barstyle.h"
#include "colors.h"
#include "gdirect.h"
#include "propertybag.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <string>

namespace quillon::controls {

class DrawSurface;

// A self-drawn progress bar with ten looks (`Scrolling` 0..9), two orientations and an optional
// percentage caption. Setters only store; those that repaint do so synchronously, so the screen is
// current when they return. Only the paint event draws: it redraws the whole control into an
// off-screen image that only grows, then copies it to the screen in one step.
class XP_ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int BrushStyle READ BrushStyle WRITE setBrushStyle)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(QImage Image READ Image WRITE setImage)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(int Scrolling READ Scrolling WRITE setScrolling)
    Q_PROPERTY(bool ShowText READ ShowText WRITE setShowText)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    explicit XP_ProgressBar(QWidget* parent = nullptr);
    ~XP_ProgressBar() override;

    XP_ProgressBar(const XP_ProgressBar&) = delete;
    XP_ProgressBar& operator=(const XP_ProgressBar&) = delete;

    // Drawing operations.
    // Paints the whole control and puts it on the screen before returning (nothing while hidden;
    // showing paints it).
    void DrawProgressBar();
    // A one-pixel line from (X, Y) to the end point (Width, Height), end point not drawn.
    void DrawLine(int X, int Y, int Width, int Height, QPaintDevice* cHdc, ColorRef Color);
    // Lines shading from lEndColor (at X or Y) to lStartcolor (span X2 with bH, else Y2 steps
    // further). Both colours are replaced by their resolved RGB values.
    void DrawGradient(ColorRef& lEndColor, ColorRef& lStartcolor, int X, int Y, int X2, int Y2,
                      QPaintDevice* hdc, bool bH = false);
    // Copies the off-screen image to hdc; a width or height below 1 means the whole image.
    void pDraw(QPaintDevice* hdc, int xSrc = 0, int ySrc = 0, int WidthSrc = 0, int HeightSrc = 0,
               int xDst = 0, int yDst = 0) const;

    // Properties. BrushStyle, Min, Max and Font do not repaint; Font and Color do not notify.
    int BrushStyle() const { return brushStyle_; }
    void setBrushStyle(int Style);
    ColorRef Color() const { return color_; }
    void setColor(ColorRef lColor);
    // The caption font belongs to the control: it starts as the application's default font and
    // never follows the parent's. This hides QWidget::setFont(), whose font the control ignores.
    QFont Font() const { return font_; }
    void setFont(const QFont& fnt);
    QWidget* hwnd() const { return hwnd_; }
    void setHwnd(QWidget* chWnd) { hwnd_ = chWnd; }
    QPaintDevice* hdc() const { return drawDC_; }
    // Rebuilds the off-screen image for the current size: what setting `hdc` does, whatever
    // surface it is given.
    void setHdc();
    QImage Image() const { return image_; }
    void setImage(const QImage& handle);
    int Min() const { return min_; }
    void setMin(int cMin);
    int Max() const { return max_; }
    void setMax(int cMax);
    int Orientation() const { return orientation_; }
    void setOrientation(int cOrientation);
    int Scrolling() const { return scrolling_; }
    void setScrolling(int lScrolling);
    bool ShowText() const { return showText_; }
    void setShowText(bool bShowText);
    int Value() const;
    // False, with `percent` and the drawing unchanged, when Max is 0 or the value does not map
    // onto a 32-bit percentage.
    bool setValue(int cValue);

    // Drawing state, for callers that need to look at what was painted.
    int percent() const { return percent_; }
    QSize bufferSize() const { return {bufferWidth_, bufferHeight_}; }
    bool buffered() const { return buffered_; }
    GdiRect barRect() const { return barRect_; }
    GdiRect captionRect() const { return captionRect_; }

    // Stored settings. ReadProperties applies a bag key by key in its order, as loading a saved
    // window does, and tells whether every key took effect. A bag that is not the control's (no
    // "Font", a value of the wrong type) is refused whole and changes nothing; a Value that does
    // not map onto the loaded Min and Max is reported after all other keys have taken effect.
    bool ReadProperties(const PropertyBag& bag, std::string* error = nullptr);
    PropertyBag WriteProperties() const;

    QSize sizeHint() const override;

signals:
    // A stored setting changed; carries its key ("Min", "Scrolling", ...).
    void settingChanged(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage* EnsureBuffer(int w, int h);
    void CreateBuffer(int w, int h);
    void ReleaseBuffer();
    void growBufferIfNeeded();
    void storeImage(const QImage& image);

    BarStyle style() const { return barStyle(scrolling_); }
    // The area painted: the hosting window's, from its top left corner.
    GdiRect clientRect() const;
    void paintLayers(DrawSurface& s);
    void drawLine(DrawSurface& s, int x1, int y1, int x2, int y2, ColorRef c) const;
    void drawGradient(DrawSurface& s, ColorRef& endColor, ColorRef& startColor, int x, int y,
                      int x2, int y2, bool horizontal) const;
    void FillSolid(DrawSurface& s, const GdiRect& r, ColorRef c) const;
    void FrameSolid(DrawSurface& s, const GdiRect& r, ColorRef c) const;

    void CalcBar(int trackLeft);
    void PaintXPBar(DrawSurface& s);
    void paintSearchingBlocks(DrawSurface& s);
    void PaintSegments(DrawSurface& s, int trackLeft);
    void PaintXPFrame(DrawSurface& s);

    void PaintFlat(DrawSurface& s);
    void PaintEtched(DrawSurface& s);
    void PaintGlass(DrawSurface& s);
    void PaintDark(DrawSurface& s);
    void PaintHatch(DrawSurface& s);
    void PaintPicture(DrawSurface& s);
    void PaintXPGlass(DrawSurface& s);

    void PaintCaption(DrawSurface& s);
    void CenterCaption(DrawSurface& s, const QString& text);
    void PaintCaptionOverlay(DrawSurface& s, const QString& text, double fillEnd);

    // Properties.
    int brushStyle_ = 0;
    ColorRef color_ = 0;
    QImage image_;
    QImage pattern_; // image_ without its alpha: the pattern brush copies pixels, it never blends
    int min_ = 0;
    int max_ = 100;
    int orientation_ = 0;
    int scrolling_ = 0;
    bool showText_ = false;
    QFont font_;
    int fontCharset_ = 1;
    QPointer<QWidget> hwnd_;

    // Drawing state.
    int percent_ = 0;
    QPaintDevice* drawDC_ = nullptr;
    QImage buffer_;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool buffered_ = false;
    // What the last paint drew, kept for callers that look at it; the rest of a paint's geometry
    // lives in locals.
    GdiRect barRect_;
    GdiRect captionRect_;
};

// The caption's text for a percentage, "45 %"; also what assistive technology reads out.
QString percentText(int percent);

} // namespace quillon::controls
