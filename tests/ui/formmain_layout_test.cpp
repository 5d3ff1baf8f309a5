#include "controls/progressbar/xp_progressbar.h"
#include "formmaintestbed.h"
#include "ui/programicon.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace quillon::uitest {
namespace {

struct Placement {
    const char* name;
    QString caption;
    QRect geometry; // at 96 dpi
};

class FormMainLayout : public ::testing::TestWithParam<Placement> {
protected:
    FormMainTestbed bed;
};

TEST_P(FormMainLayout, ControlSitsWhereTheWindowWasDrawn) {
    const Placement& expected = GetParam();
    auto* control = bed.form.findChild<QWidget*>(QLatin1String(expected.name));
    ASSERT_NE(control, nullptr) << expected.name;
    ASSERT_EQ(bed.form.logicalDpiX(), 96) << "the offscreen screen is expected at 96 dpi";
    EXPECT_EQ(control->geometry(), expected.geometry);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        EXPECT_EQ(button->text(), expected.caption);
        EXPECT_TRUE(button->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, FormMainLayout,
                         ::testing::Values(Placement{"ListView1", {}, {4, 3, 577, 383}},
                                           Placement{"CmdAdd", "&Add", {587, 12, 95, 25}},
                                           Placement{"CmdRemove", "&Remove", {587, 46, 95, 25}},
                                           Placement{"CmdExtract", "&Extract", {587, 81, 95, 25}},
                                           Placement{
                                               "CmdUpdate", "&Check Update", {587, 353, 95, 25}},
                                           Placement{"XP_ProgressBar1", {}, {2, 391, 691, 24}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormMainWindow, IsAFixedSizeTitledWindowWithoutMaximizeBox) {
    FormMainTestbed bed;
    EXPECT_EQ(bed.form.windowTitle(), "Quillon 1.04");
    EXPECT_EQ(bed.form.objectName(), "FormMain");
    EXPECT_EQ(bed.form.minimumSize(), QSize(695, 419));
    EXPECT_EQ(bed.form.maximumSize(), QSize(695, 419));
    const Qt::WindowFlags flags = bed.form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST(FormMainWindow, ListHasTheTwoReportColumnsAndStartsEmpty) {
    FormMainTestbed bed;
    QTreeWidget* list = bed.form.ListView1;
    ASSERT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "File Name");
    EXPECT_EQ(list->headerItem()->text(1), "Status");
    EXPECT_EQ(list->columnWidth(0), 453);
    EXPECT_EQ(list->columnWidth(1), 116);
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(bed.form.lastFolder().isEmpty());
}

TEST(FormMainWindow, TabOrderRunsFromTheListThroughTheButtonsToTheBar) {
    FormMainTestbed bed;
    const QList<QWidget*> expected = {bed.form.ListView1, bed.form.CmdAdd, bed.form.CmdRemove,
                                      bed.form.CmdExtract, bed.form.CmdUpdate};
    for (qsizetype i = 0; i + 1 < expected.size(); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        // Widgets inside a control (the list's header and viewport) may sit in between.
        while (next != nullptr && next != expected[i + 1] && expected[i]->isAncestorOf(next)) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, expected[i + 1]) << "after " << expected[i]->objectName().toStdString();
    }
}

TEST(FormMainWindow, UsesTahomaOrACloseSansSerifAtNinePoints) {
    FormMainTestbed bed;
    const QFont font = bed.form.font();
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_EQ(bed.form.CmdAdd->font(), font);
    EXPECT_EQ(bed.form.ListView1->font(), font);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family.startsWith("Tahoma") || family.startsWith("DejaVu Sans"))
        << family.toStdString();
}

TEST(FormMainWindow, ProgressBarCarriesTheWindowsStoredSettings) {
    FormMainTestbed bed;
    EXPECT_EQ(bed.form.XP_ProgressBar1->BrushStyle(), 0);
    EXPECT_EQ(bed.form.XP_ProgressBar1->Color(), 0xD5774Eu);
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 0);
}

TEST(ProgramIcon, ComesInEveryInstalledSizeAndIsNotBlank) {
    const QIcon icon = ui::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = ui::programIconPixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << "rendered at its size, not scaled to it";
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
            }
        }
        // A drawing that fills most of its square but keeps transparent corners.
        EXPECT_GT(opaque, size * size / 2) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    }
    FormMainTestbed bed;
    EXPECT_FALSE(bed.form.windowIcon().isNull());
}

TEST(FormMainWindow, CheckUpdateOpensTheProductPage) {
    FormMainTestbed bed;
    bed.form.CmdUpdate->click();
    ASSERT_EQ(bed.webPages.opened.size(), 1);
    EXPECT_TRUE(bed.webPages.opened.front().isValid());
    EXPECT_TRUE(bed.webPages.opened.front().scheme().startsWith("http"));
}

} // namespace
} // namespace quillon::uitest
