// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/progressbar/xp_progressbar.h"
#include "formmaintestbed.h"
#include "ui/folderpickerdialog.h"
#include "ui/openfiledialog.h"
#include "ui/pathtext.h"
#include "ui/programicon.h"
#include "ui/qtmessagebox.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace quillon::uitest {
namespace {

struct Placement {
    const char* name;
    QString caption;
    QRect geometry;     // at 96 dpi
    const char* spoken; // what a screen reader announces; the bar's own tests check its own
};

using FormMainLayout = WindowTest<Placement>;

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
    if (expected.spoken != nullptr) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name),
                  QLatin1String(expected.spoken));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FormMainLayout,
    ::testing::Values(
        Placement{"ListView1", {}, {4, 3, 577, 383}, "Files"},
        Placement{"CmdAdd", "&Add", {587, 12, 95, 25}, "Add"},
        Placement{"CmdRemove", "&Remove", {587, 46, 95, 25}, "Remove"},
        Placement{"CmdExtract", "&Extract", {587, 81, 95, 25}, "Extract"},
        Placement{"CmdUpdate", "&Check Update", {587, 353, 95, 25}, "Check Update"},
        Placement{"XP_ProgressBar1", {}, {2, 391, 691, 24}, "Progress of the file being read"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormMainWindow, IsAFixedSizeTitledWindowWithoutMaximizeBox) {
    FormMainTestbed bed;
    EXPECT_EQ(bed.form.windowTitle(), "Quillon 1.04");
    EXPECT_EQ(bed.form.objectName(), "FormMain");
    // A frame to assistive technology, as main windows are.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&bed.form)->role(), QAccessible::Window);
    EXPECT_EQ(bed.form.minimumSize(), QSize(695, 419));
    EXPECT_EQ(bed.form.maximumSize(), QSize(695, 419));
    const Qt::WindowFlags flags = bed.form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST(FormMainWindow, ListHasTheTwoReportColumnsAndStartsEmpty) {
    FormMainTestbed bed;
    ui::FileListView* list = bed.form.ListView1;
    ASSERT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "File Name");
    EXPECT_EQ(list->headerItem()->text(1), "Status");
    EXPECT_EQ(list->columnWidth(0), 453);
    EXPECT_EQ(list->columnWidth(1), 116);
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(bed.form.lastFolder().isEmpty());

    // The empty list says what to do, drawn in its middle; a list with a row does not.
    bed.form.show();
    const auto inkInTheMiddle = [&] {
        const QImage drawn = list->viewport()->grab().toImage();
        const QRgb base = list->palette().color(QPalette::Base).rgb();
        int ink = 0;
        for (int y = drawn.height() / 3; y < drawn.height() * 2 / 3; ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                ink += drawn.pixel(x, y) != base ? 1 : 0;
            }
        }
        return ink;
    };
    EXPECT_GT(inkInTheMiddle(), 100);
    EXPECT_EQ(list->accessibleDescription(), "Add or drop FLV files here");
    list->appendFile("/v/clip.flv", "Ready");
    EXPECT_EQ(inkInTheMiddle(), 0);
    EXPECT_EQ(list->accessibleDescription(), "");
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

TEST(FormMainWindow, CheckUpdateOpensTheProductPageIfTheBuildHasOne) {
    FormMainTestbed bed;
    bed.form.CmdUpdate->click();
    const QString page = QStringLiteral(QUILLON_EXPECTED_HOMEPAGE);
    ASSERT_EQ(bed.webPages.opened.size(), page.isEmpty() ? 0 : 1);
    if (!page.isEmpty()) {
        EXPECT_EQ(bed.webPages.opened.front(), QUrl(page));
    }
}

// However many rows, Status keeps its width and no horizontal scroll bar shows: the File Name
// column gives up what the vertical scroll bar takes, and takes it back when the list shrinks.
struct ListLength {
    const char* name;
    int added, kept;
    bool scrolls;
};
using ListColumns = WindowTest<ListLength>;

TEST_P(ListColumns, StatusStaysWholeWithoutAHorizontalScrollBar) {
    ui::FileListView* list = bed.form.ListView1;
    bed.form.show();
    for (int i = 0; i < GetParam().added; ++i) {
        list->appendFile(QStringLiteral("/v/%1.flv").arg(i).toUtf8(), "Ready");
    }
    QCoreApplication::processEvents();
    while (list->topLevelItemCount() > GetParam().kept) {
        delete list->takeTopLevelItem(0);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(list->verticalScrollBar()->isVisible(), GetParam().scrolls);
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_EQ(list->columnWidth(1), 116);
    EXPECT_EQ(list->columnWidth(0), GetParam().scrolls ? list->viewport()->width() - 116 : 453);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListColumns,
                         ::testing::Values(ListLength{"Few", 5, 5, false},
                                           ListLength{"Many", 40, 40, true},
                                           ListLength{"ManyThenFew", 40, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Rows share one height, and it is that of the tallest row, not of the first: a name drawn taller
// (a fallback font for CJK, here a name holding a line break) leaves no row clipped.
TEST(FormMainWindow, EveryRowIsAsTallAsTheTallestName) {
    FormMainTestbed bed;
    ui::FileListView* list = bed.form.ListView1;
    bed.form.show();
    list->appendFile("/v/a.flv", "Ready");
    QCoreApplication::processEvents();
    const int oneLine = list->visualItemRect(list->topLevelItem(0)).height();
    list->appendFile("/v/two\nlines.flv", "Ready");
    QCoreApplication::processEvents();
    EXPECT_GE(list->visualItemRect(list->topLevelItem(1)).height(), oneLine * 2 - 2);
    EXPECT_EQ(list->visualItemRect(list->topLevelItem(0)).height(),
              list->visualItemRect(list->topLevelItem(1)).height());
}

// A status is cut at its end, so it still starts with what happened; a path in its middle, so
// its file name stays in sight. Drawn beside a row holding only the text's start, the long
// text's cell looks the same over that start exactly when its start is kept.
struct CutText {
    const char* name;
    int column;
    const char* text;
    bool startKept; // the part of the text filling 3/4 of the column
};
using ListCutting = WindowTest<CutText>;

TEST_P(ListCutting, LongTextIsCutWhereItsColumnNeedsIt) {
    const CutText& cut = GetParam();
    ui::FileListView* list = bed.form.ListView1;
    const QFontMetrics metrics(list->font());
    QString start = QLatin1String(cut.text);
    while (metrics.horizontalAdvance(start) > 0.75 * list->columnWidth(cut.column)) {
        start.chop(1);
    }
    for (const QString& shown : {QString(QLatin1String(cut.text)), start}) {
        list->appendFile(cut.column == 0 ? shown.toUtf8() : "", cut.column == 1 ? shown : "");
    }
    bed.form.show();
    const QImage drawn = list->viewport()->grab().toImage();
    auto cell = [&](int row) {
        // Up to the start's last letter, after the cell's small margin.
        QRect rect = list->visualRect(list->model()->index(row, cut.column));
        rect.setWidth(metrics.horizontalAdvance(start.chopped(1)) + 4);
        return drawn.copy(rect);
    };
    EXPECT_EQ(cell(0) == cell(1), cut.startKept) << start.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ListCutting,
    ::testing::Values(CutText{"StatusAtItsEnd", 1, "Error: Can not read the flv file", true},
                      CutText{"FileNameInItsMiddle", 0,
                              "/home/someone/Videos/Lectures of the autumn term/Week 12/Lecture "
                              "24 - Recursive filters and their stability, with examples.flv",
                              false}),
    [](const auto& info) { return std::string(info.param.name); });

// A row's tooltip is plain text, which Qt never wraps: long paths are broken after their
// separators, and a name too long for a line anywhere but inside a character. Widths here are
// counted in UTF-16 code units.
struct TipWrap {
    const char* name;
    const char* text;
    int width;
    const char* wrapped;
};

void PrintTo(const TipWrap& w, std::ostream* out) {
    *out << w.name;
}

using TipLines = ::testing::TestWithParam<TipWrap>;

TEST_P(TipLines, StayWithinTheirWidth) {
    const TipWrap& w = GetParam();
    EXPECT_EQ(ui::wrapPathText(QString::fromUtf8(w.text), w.width,
                               [](const QString& s) { return int(s.size()); }),
              QString::fromUtf8(w.wrapped));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TipLines,
    ::testing::Values(TipWrap{"FitsAsItIs", "/a/b.flv\nFinished", 20, "/a/b.flv\nFinished"},
                      TipWrap{"BreaksAfterSeparators", "/home/someone/Videos/clip.flv", 14,
                              "/home/someone/\nVideos/\nclip.flv"},
                      TipWrap{"CutsALongNameAnywhere", "/v/abcdefghij.flv", 6,
                              "/v/\nabcdef\nghij.f\nlv"},
                      TipWrap{"KeepsACharacterOfTwoUnitsWhole", "/\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
                              3, "/\n\xF0\x9F\x98\x80\n\xF0\x9F\x98\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

// The dialogs shown for the window carry its look: the skin's style and colours and its font. So
// do the pop-ups that Qt makes on its own later, such as a row's context menu.
void showMessageBox(ui::FormMain& owner) {
    ui::QtMessageBox(&owner).showMessage("Can not read /x", "Error", ui::MessageIcon::Critical);
}
void showOpenFileDialog(ui::FormMain& owner) {
    ui::QtOpenFileDialog().getOpenFileNames(&owner, QDir::tempPath());
}
void showFolderPicker(ui::FormMain& owner) {
    ui::DialogFolderPicker().BrowseForFolder(&owner, "title", QDir::tempPath());
}
void showRowMenu(ui::FormMain& owner) {
    owner.ListView1->appendFile("/v/clip.flv", "Ready");
    owner.rowMenu(0)->exec(owner.mapToGlobal(QPoint(10, 10)));
}

struct ShownDialog {
    const char* name;
    void (*show)(ui::FormMain& owner);
};

void PrintTo(const ShownDialog& d, std::ostream* out) {
    *out << d.name;
}
using DialogLook = WindowTest<ShownDialog>;

TEST_P(DialogLook, IsTheWindowsLook) {
    QWidget* seen = nullptr;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        seen = QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget()
                                                            : QApplication::activePopupWidget();
        if (seen == nullptr) {
            return;
        }
        poll.stop();
        const QPalette palette = bed.form.palette();
        EXPECT_EQ(seen->palette().color(QPalette::Window), palette.color(QPalette::Window));
        EXPECT_EQ(seen->palette().color(QPalette::Highlight), palette.color(QPalette::Highlight));
        EXPECT_EQ(QFontInfo(seen->font()).family(), QFontInfo(bed.form.font()).family());
        EXPECT_EQ(seen->style(), bed.form.CmdAdd->style());
        const auto buttons = seen->findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            EXPECT_EQ(button->style(), bed.form.CmdAdd->style()) << button->text().toStdString();
        }
        QMetaObject::invokeMethod(seen, &QWidget::close, Qt::QueuedConnection);
    });
    poll.start();
    GetParam().show(bed.form);
    EXPECT_NE(seen, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLook,
                         ::testing::Values(ShownDialog{"MessageBox", showMessageBox},
                                           ShownDialog{"OpenFileDialog", showOpenFileDialog},
                                           ShownDialog{"FolderPicker", showFolderPicker},
                                           ShownDialog{"RowMenu", showRowMenu}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillon::uitest
