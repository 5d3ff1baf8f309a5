// SPDX-License-Identifier: GPL-3.0-or-later
#include "barfixture.h"
#include "propertybag.h"
#include "storedsettings.h"

#include <QPalette>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon::controls::test {
namespace {

StoredFont someFont() {
    StoredFont f;
    f.faceName = QStringLiteral("DejaVu Sans");
    f.pointSize = 10.5;
    f.weight = 0; // "any weight"
    return f;
}

TEST(PropertyBag, DropsDefaultsAndKeepsFirstWriteOrder) {
    PropertyBag bag;
    bag.write(QStringLiteral("B"), std::int32_t{1}, std::int32_t{0});
    bag.write(QStringLiteral("A"), true, false);
    bag.write(QStringLiteral("Z"), std::int32_t{0}, std::int32_t{0});
    bag.write(QStringLiteral("B"), std::int32_t{2});
    EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_EQ(bag.read(QStringLiteral("B"), std::int32_t{0}), PropertyValue{std::int32_t{2}});
    EXPECT_EQ(bag.read(QStringLiteral("Z"), std::int32_t{9}), PropertyValue{std::int32_t{9}});
    // Writing the default again removes the stored value.
    bag.write(QStringLiteral("A"), false, false);
    EXPECT_FALSE(bag.contains(QStringLiteral("A")));
}

TEST(StoredSettings, FreshControlStoresBrushStyleZeroAgainstTheDefaultFour) {
    XP_ProgressBar bar;
    const PropertyBag bag = bar.WriteProperties();
    EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("Font"), QStringLiteral("BrushStyle"),
                                       QStringLiteral("Color")}));
    EXPECT_EQ(std::get<std::int32_t>(*bag.find(QStringLiteral("BrushStyle"))), 0);
}

TEST(StoredSettings, OnlyFontGivesTheBagDefaults) {
    PropertyBag bag;
    bag.write(QStringLiteral("Font"), someFont());
    XP_ProgressBar bar;
    std::string error;
    ASSERT_TRUE(bar.ReadProperties(bag, &error)) << error;
    EXPECT_EQ(bar.BrushStyle(), 4);
    EXPECT_EQ(bar.Color(), fromQRgb(bar.palette().color(QPalette::Highlight).rgb()));
    EXPECT_EQ(bar.Font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(bar.Font().pointSizeF(), 10.5);
    EXPECT_EQ(bar.Font().weight(), QFont::Normal);
}

TEST(StoredSettings, MainWindowBag) {
    XP_ProgressBar bar;
    ASSERT_TRUE(bar.ReadProperties(mainWindowProgressBarSettings()));
    EXPECT_EQ(bar.Color(), 0xD5774Eu);
    EXPECT_EQ(bar.BrushStyle(), 0);
    EXPECT_EQ(bar.Scrolling(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_DOUBLE_EQ(bar.Font().pointSizeF(), 8.25);
    EXPECT_EQ(bar.Font().family(), QStringLiteral("宋体")); // as stored, not transliterated
    // Saving gives the same bag back, character set included.
    EXPECT_EQ(bar.WriteProperties(), mainWindowProgressBarSettings());
}

TEST(StoredSettings, ValueIsStoredAsPercentAndRemappedOnLoad) {
    auto bar = makeBar(100, 20);
    bar->setMin(10);
    ASSERT_TRUE(bar->setValue(50));
    const PropertyBag saved = bar->WriteProperties();
    EXPECT_EQ(std::get<std::int32_t>(*saved.find(QStringLiteral("Value"))), 60);
    XP_ProgressBar loaded;
    QSignalSpy spy(&loaded, &XP_ProgressBar::settingChanged);
    ASSERT_TRUE(loaded.ReadProperties(saved));
    EXPECT_EQ(loaded.percent(), 70); // Max and Min are applied before Value
    QStringList keys;
    for (const auto& args : spy) {
        keys << args.at(0).toString();
    }
    EXPECT_EQ(keys, (QStringList{QStringLiteral("Max"), QStringLiteral("Min"),
                                 QStringLiteral("Orientation"), QStringLiteral("Scrolling"),
                                 QStringLiteral("ShowText")}));
}

struct BadBag {
    const char* name;
    PropertyBag bag;
    const char* errorMentions;
};

void PrintTo(const BadBag& b, std::ostream* os) {
    *os << b.name;
}

PropertyBag withFont(std::initializer_list<std::pair<const char*, PropertyValue>> entries) {
    PropertyBag bag;
    bag.write(QStringLiteral("Font"), someFont());
    for (const auto& [key, value] : entries) {
        bag.write(QString::fromLatin1(key), value);
    }
    return bag;
}

class RefusedBags : public ::testing::TestWithParam<BadBag> {};

TEST_P(RefusedBags, LeaveTheControlAsCreated) {
    XP_ProgressBar bar;
    const PropertyBag fresh = bar.WriteProperties();
    QSignalSpy spy(&bar, &XP_ProgressBar::settingChanged);
    std::string error;
    EXPECT_FALSE(bar.ReadProperties(GetParam().bag, &error));
    EXPECT_NE(error.find(GetParam().errorMentions), std::string::npos) << error;
    EXPECT_EQ(bar.WriteProperties(), fresh);
    EXPECT_EQ(spy.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedBags,
    ::testing::Values(
        BadBag{"no font",
               [] {
                   PropertyBag b;
                   b.write(QStringLiteral("Scrolling"), std::int32_t{5});
                   return b;
               }(),
               "Font"},
        BadBag{"font of the wrong type",
               [] {
                   PropertyBag b;
                   b.write(QStringLiteral("Font"), std::int32_t{5});
                   return b;
               }(),
               "Font"},
        BadBag{"max as bool", withFont({{"Scrolling", std::int32_t{3}}, {"Max", true}}), "Max"},
        BadBag{"picture as int", withFont({{"Image", std::int32_t{1}}}), "Image"},
        BadBag{"show text as int", withFont({{"ShowText", std::int32_t{1}}}), "ShowText"},
        BadBag{"value as bool", withFont({{"Scrolling", std::int32_t{3}}, {"Value", true}}),
               "Value"}));

class UnloadableValue : public ::testing::TestWithParam<std::pair<int, int> /*Min, Max*/> {};

// A control saves a Value that its own Min and Max cannot map back; loading that reports it only
// after every other key took effect.
TEST_P(UnloadableValue, LoadsEverythingElse) {
    XP_ProgressBar source;
    source.setScrolling(5);
    source.setShowText(true);
    ASSERT_TRUE(source.setValue(40));
    source.setMin(GetParam().first);
    source.setMax(GetParam().second);
    const PropertyBag saved = source.WriteProperties();
    auto bar = makeBar(200, 24);
    QSignalSpy spy(bar.get(), &XP_ProgressBar::settingChanged);
    std::string error;
    EXPECT_FALSE(bar->ReadProperties(saved, &error));
    EXPECT_NE(error.find("\"Value\" 40"), std::string::npos) << error;
    PropertyBag loaded = saved;
    loaded.remove(QStringLiteral("Value"));
    EXPECT_EQ(bar->WriteProperties(), loaded);
    EXPECT_EQ(spy.count(), 5); // Max, Min, Orientation, Scrolling, ShowText
    EXPECT_EQ(onScreen(*bar), client(*bar));
}

INSTANTIATE_TEST_SUITE_P(Ranges, UnloadableValue,
                         ::testing::Values(std::pair{0, 0}, std::pair{0x7FFFFFFF, 100}));

TEST(SettingsText, RoundTripsEveryValueType) {
    PropertyBag bag;
    StoredFont font = someFont();
    font.faceName = QStringLiteral("宋体 with spaces %");
    font.charset = 134;
    font.italic = true;
    bag.write(QStringLiteral("Font"), font);
    bag.write(QStringLiteral("Color"), std::int32_t{-2147483635});
    bag.write(QStringLiteral("ShowText"), true);
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    bag.write(QStringLiteral("Image"), picture);
    bag.write(QStringLiteral("Empty picture"), QImage());
    const auto back = PropertyBag::fromText(bag.toText());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->keys(), bag.keys());
    EXPECT_EQ(std::get<StoredFont>(*back->find(QStringLiteral("Font"))), font);
    EXPECT_EQ(std::get<std::int32_t>(*back->find(QStringLiteral("Color"))), -2147483635);
    EXPECT_EQ(std::get<QImage>(*back->find(QStringLiteral("Image")))
                  .convertToFormat(QImage::Format_RGB32),
              picture);
    EXPECT_TRUE(std::get<QImage>(*back->find(QStringLiteral("Empty picture"))).isNull());
}

TEST(SettingsText, EveryTruncationIsRefused) {
    const QByteArray text = mainWindowProgressBarSettings().toText();
    // Dropping only the final line break still leaves a complete "end" line.
    for (qsizetype n = 0; n < text.size() - 1; ++n) {
        std::string error;
        EXPECT_FALSE(PropertyBag::fromText(text.left(n), &error).has_value()) << n;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(PropertyBag::fromText(text.left(text.size() - 1)).has_value());
}

struct BadText {
    const char* text;
    const char* errorMentions;
};

class MalformedText : public ::testing::TestWithParam<BadText> {};

TEST_P(MalformedText, IsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(PropertyBag::fromText(GetParam().text, &error).has_value());
    EXPECT_NE(error.find(GetParam().errorMentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedText,
    ::testing::Values(BadText{"", "first line"}, BadText{"QuillonSettings 2\nend\n", "first line"},
                      BadText{"QuillonSettings 1\nMax int 12x\nend\n", "line 2"},
                      BadText{"QuillonSettings 1\nMax int 2147483648\nend\n", "32-bit"},
                      BadText{"QuillonSettings 1\nShowText bool yes\nend\n", "0 or 1"},
                      BadText{"QuillonSettings 1\nFont font 1 9 400 0 0\nend\n", "font"},
                      BadText{"QuillonSettings 1\nImage picture !!!\nend\n", "PNG"},
                      BadText{"QuillonSettings 1\nMax float 1\nend\n", "unknown value type"},
                      BadText{"QuillonSettings 1\nMax int 1\nMax int 2\nend\n", "twice"},
                      BadText{"QuillonSettings 1\nMax\nend\n", "line 2"},
                      BadText{"QuillonSettings 1\nend\nMax int 1\n", "after the end"}));

TEST(SettingsFile, SavesAndLoads) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bar.settings"));
    auto bar = makeBar(100, 20, 5);
    bar->setShowText(true);
    ASSERT_TRUE(bar->setValue(42));
    std::string error;
    ASSERT_TRUE(bar->WriteProperties().saveToFile(path, &error)) << error;
    const auto loaded = PropertyBag::loadFromFile(path, &error);
    ASSERT_TRUE(loaded.has_value()) << error;
    XP_ProgressBar copy;
    ASSERT_TRUE(copy.ReadProperties(*loaded, &error)) << error;
    EXPECT_EQ(copy.WriteProperties(), bar->WriteProperties());

    EXPECT_FALSE(PropertyBag::loadFromFile(dir.filePath(QStringLiteral("missing")), &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

} // namespace
} // namespace quillon::controls::test
