// SPDX-License-Identifier: GPL-3.0-or-later
#include "barfixture.h"
#include "colors.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QPalette>
#include <QSignalSpy>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <functional>
#include <gtest/gtest.h>

namespace quillon::controls::test {
namespace {

// Counts the paint events of the widgets it filters.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* e) override {
        count += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST(FreshControl, ReadsBackItsInitialValues) {
    XP_ProgressBar bar;
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.Orientation(), 0);
    EXPECT_EQ(bar.Scrolling(), 0);
    EXPECT_FALSE(bar.ShowText());
    EXPECT_TRUE(bar.Image().isNull());
    EXPECT_EQ(bar.BrushStyle(), 0);
    EXPECT_EQ(bar.Color(), fromQRgb(bar.palette().color(QPalette::Highlight).rgb()));
    EXPECT_EQ(bar.hwnd(), &bar);
    EXPECT_TRUE(bar.buffered());
}

struct ValueExample {
    int min;
    int max;
    int value;
    int percent;   // as stored by the setter
    int readsBack; // Value afterwards
};

std::vector<QVariant> gValueChanges;

class ValueMapping : public ::testing::TestWithParam<ValueExample> {
protected:
    // As a screen reader would have it: accessibility on, its events going to our handler.
    void SetUp() override {
        gValueChanges.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            if (e->type() == QAccessible::ValueChanged) {
                gValueChanges.push_back(static_cast<QAccessibleValueChangeEvent*>(e)->value());
            }
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void TearDown() override {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
};

TEST_P(ValueMapping, SetsPercentAndReadsBack) {
    const ValueExample c = GetParam();
    auto bar = makeBar(100, 20);
    bar->setMax(c.max);
    bar->setMin(c.min);
    ASSERT_TRUE(bar->setValue(c.value));
    ASSERT_TRUE(bar->setValue(c.value)); // no change: no second event
    EXPECT_EQ(bar->percent(), c.percent);
    EXPECT_EQ(bar->Value(), c.readsBack);
    // Assistive technology sees a progress bar with the same value, read out as shown.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar.get());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::ProgressBar);
    EXPECT_EQ(iface->text(QAccessible::Value), QString::number(c.percent) + QStringLiteral(" %"));
    // The same text as its description, which reaches screen readers over AT-SPI too.
    EXPECT_EQ(iface->text(QAccessible::Description), iface->text(QAccessible::Value));
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_EQ(iface->valueInterface()->minimumValue(), c.min);
    EXPECT_EQ(iface->valueInterface()->maximumValue(), c.max);
    EXPECT_EQ(iface->valueInterface()->currentValue(), c.readsBack);
    EXPECT_EQ(gValueChanges, std::vector<QVariant>{c.readsBack});
    XP_ProgressBar hidden; // not painted by its setters; painting it afterwards only reads
    hidden.setMax(c.max);
    hidden.setMin(c.min);
    ASSERT_TRUE(hidden.setValue(c.value));
    (void)hidden.grab();
    EXPECT_EQ(hidden.percent(), c.percent);
}

INSTANTIATE_TEST_SUITE_P(Examples, ValueMapping,
                         ::testing::Values(ValueExample{0, 100, 37, 37, 37},
                                           ValueExample{0, 100, 200, 100, 100}, // cut when stored
                                           ValueExample{10, 100, 50, 60, 6},
                                           ValueExample{0, 200, 50, 25, 50},
                                           ValueExample{0, 100, -5, -5, -5}));

struct Refusal {
    int max;
    int value;
};

class ValueRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(ValueRefused, LeavesPercentAndDrawingUnchanged) {
    auto bar = makeBar(200, 24);
    ASSERT_TRUE(bar->setValue(40));
    const QImage before = client(*bar);
    bar->setMax(GetParam().max);
    EXPECT_FALSE(bar->setValue(GetParam().value));
    EXPECT_EQ(bar->percent(), 40);
    EXPECT_EQ(client(*bar), before);
    // The property system goes through the same setter.
    EXPECT_TRUE(bar->setProperty("Value", GetParam().value));
    EXPECT_EQ(bar->percent(), 40);
}

INSTANTIATE_TEST_SUITE_P(Failures, ValueRefused,
                         ::testing::Values(Refusal{0, 5}, Refusal{0, 0}, Refusal{100, 21474837},
                                           Refusal{100, std::numeric_limits<int>::min()}));

struct SetterEffect {
    const char* name;
    std::function<void(XP_ProgressBar&)> set;
    const char* notifies; // nullptr: no notification
    bool repaints;
    int percent = 50;       // afterwards
    bool looksSame = false; // repaints, but to the same picture
};

void PrintTo(const SetterEffect& e, std::ostream* os) {
    *os << e.name;
}

class Setters : public ::testing::TestWithParam<SetterEffect> {};

TEST_P(Setters, NotifyAndRepaintAsDocumented) {
    const SetterEffect e = GetParam();
    // Style 7 at 50 % with the cross hatch: every setter below changes what a paint would show.
    auto bar = makeBar(200, 24, 7);
    bar->setBrushStyle(4);
    ASSERT_TRUE(bar->setValue(50));
    QCoreApplication::processEvents();
    const QImage before = client(*bar);
    QSignalSpy spy(bar.get(), &XP_ProgressBar::settingChanged);
    PaintCounter paints;
    bar->installEventFilter(&paints);
    e.set(*bar);
    // A repaint is one paint, finished and on the screen when the setter returns.
    EXPECT_EQ(paints.count, e.repaints ? 1 : 0);
    EXPECT_EQ(onScreen(*bar), client(*bar));
    if (e.notifies != nullptr) {
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromLatin1(e.notifies));
    } else {
        EXPECT_EQ(spy.count(), 0);
    }
    EXPECT_EQ(client(*bar) != before, e.repaints && !e.looksSame);
    EXPECT_EQ(bar->percent(), e.percent);
    // Nothing was left for later.
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.count, e.repaints ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    All, Setters,
    ::testing::Values(
        SetterEffect{"BrushStyle", [](XP_ProgressBar& b) { b.setBrushStyle(0); }, "BrushStyle",
                     false},
        SetterEffect{"Color", [](XP_ProgressBar& b) { b.setColor(0x00FF00); }, nullptr, true},
        SetterEffect{"Min", [](XP_ProgressBar& b) { b.setMin(10); }, "Min", false},
        SetterEffect{"Max", [](XP_ProgressBar& b) { b.setMax(7); }, "Max", false},
        SetterEffect{"Orientation", [](XP_ProgressBar& b) { b.setOrientation(1); }, "Orientation",
                     true, 50, true /* styles 3 to 9 ignore it */},
        SetterEffect{"Scrolling", [](XP_ProgressBar& b) { b.setScrolling(0); }, "Scrolling", true},
        SetterEffect{"ShowText", [](XP_ProgressBar& b) { b.setShowText(true); }, "ShowText", true},
        SetterEffect{"Value", [](XP_ProgressBar& b) { b.setValue(70); }, nullptr, true, 70},
        SetterEffect{"Font",
                     [](XP_ProgressBar& b) { b.setFont(QFont(QStringLiteral("Serif"), 30)); },
                     nullptr, false}));

TEST(Setters, ImageNotifiesAndRepaints) {
    auto bar = makeBar(200, 24, 8);
    ASSERT_TRUE(bar->setValue(50));
    const QImage before = client(*bar);
    QSignalSpy spy(bar.get(), &XP_ProgressBar::settingChanged);
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::red);
    bar->setImage(tile);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("Image"));
    EXPECT_NE(client(*bar), before);
}

TEST(Setters, PendingChangesShowAtTheNextPaint) {
    auto bar = makeBar(200, 24, 7);
    bar->setBrushStyle(4);
    ASSERT_TRUE(bar->setValue(50));
    const QImage before = client(*bar);
    bar->setBrushStyle(9); // no brush: the bar will be empty
    EXPECT_EQ(client(*bar), before);
    bar->DrawProgressBar();
    EXPECT_NE(client(*bar), before);
    EXPECT_EQ(px(*bar, 50, 10), kWhite);
}

TEST(FontProperty, IsTheControlsOwnNotItsParents) {
    QWidget parent;
    parent.setFont(QFont(QStringLiteral("Serif"), 31));
    auto* bar = new XP_ProgressBar(&parent);
    parent.setFont(QFont(QStringLiteral("Serif"), 40));
    bar->setShowText(true);
    (void)bar->grab();
    QFont font = bar->Font();
    EXPECT_EQ(font.pointSizeF(), QFont().pointSizeF());
    font.setStyleStrategy(QFont::NoAntialias); // the caption is drawn in it
    EXPECT_EQ(bar->captionRect().right - bar->captionRect().left,
              QFontMetrics(font, bar->hdc()).horizontalAdvance(QStringLiteral("0 %")));
}

TEST(ColorProperty, StoresTheResolvedSystemColour) {
    auto bar = makeBar(100, 20);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Highlight, QColor(10, 20, 30));
    bar->setPalette(palette);
    bar->setColor(0x8000000D);
    EXPECT_EQ(bar->Color(), rgbColor(10, 20, 30));
    // Later palette changes do not reach the stored colour.
    palette.setColor(QPalette::Highlight, QColor(1, 1, 1));
    bar->setPalette(palette);
    EXPECT_EQ(bar->Color(), rgbColor(10, 20, 30));
    const PropertyBag saved = bar->WriteProperties();
    const PropertyValue* stored = saved.find(QStringLiteral("Color"));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(std::get<std::int32_t>(*stored), 0x1E140A);
}

TEST(QtProperties, ReachTheSameState) {
    auto bar = makeBar(100, 20);
    EXPECT_TRUE(bar->setProperty("Scrolling", 5));
    EXPECT_TRUE(bar->setProperty("Color", 0x123456u));
    EXPECT_TRUE(bar->setProperty("Value", 37));
    EXPECT_EQ(bar->Scrolling(), 5);
    EXPECT_EQ(bar->Color(), 0x123456u);
    EXPECT_EQ(bar->property("Value").toInt(), 37);
    EXPECT_EQ(bar->property("Max").toInt(), 100);
}

TEST(Buffer, OnlyGrows) {
    const auto shown = makeBar(691, 24);
    XP_ProgressBar& bar = *shown;
    bar.DrawProgressBar();
    // Grown past the first 640 x 480 in width, so made anew at the control's size.
    EXPECT_EQ(bar.bufferSize(), QSize(691, 24));
    bar.resize(300, 20);
    bar.DrawProgressBar();
    EXPECT_EQ(bar.bufferSize(), QSize(691, 24));
    ASSERT_TRUE(bar.setValue(100));
    // The smaller control still paints correctly into the larger image.
    EXPECT_EQ(px(bar, 299, 19), kWhite);
    EXPECT_EQ(px(bar, 292, 10), bar.Color());
    EXPECT_EQ(px(bar, 290, 10), kWhite); // a gap
    bar.resize(800, 30);
    bar.DrawProgressBar();
    EXPECT_EQ(bar.bufferSize(), QSize(800, 30));
    // Setting hdc to anything rebuilds for the current size, as a resize does.
    bar.resize(900, 10);
    bar.DrawProgressBar();
    EXPECT_EQ(bar.bufferSize(), QSize(900, 10));
    bar.setHdc();
    EXPECT_EQ(bar.hdc(), &buffer(bar));
    EXPECT_EQ(bar.bufferSize(), QSize(900, 10));
}

} // namespace
} // namespace quillon::controls::test
