#include "controls/progressbar/xp_progressbar.h"
#include "formmaintestbed.h"
#include "ui/folderpickerdialog.h"
#include "ui/openfiledialog.h"
#include "ui/programicon.h"
#include "ui/qtmessagebox.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace quillon::uitest {
namespace {

struct Placement {
    const char* name;
    QString caption;
    QRect geometry; // at 96 dpi
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

TEST(ProgramIcon, ComesInThreeSizesAndIsNotBlank) {
    const QIcon icon = ui::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = ui::programIconPixmap(size).toImage();
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

// However many rows there are, Status keeps its width and no horizontal scroll bar shows: once the
// vertical one takes its share, the File Name column gives it up, and takes it back when the
// list is short again.
struct ListLength {
    const char* name;
    int added;
    int kept;
    bool scrolls;
};

using ListColumns = WindowTest<ListLength>;

TEST_P(ListColumns, StatusStaysWholeWithoutAHorizontalScrollBar) {
    const ListLength& length = GetParam();
    ui::FileListView* list = bed.form.ListView1;
    bed.form.show();
    for (int i = 0; i < length.added; ++i) {
        list->appendFile(QStringLiteral("/v/%1.flv").arg(i), "Ready");
    }
    QCoreApplication::processEvents();
    while (list->topLevelItemCount() > length.kept) {
        delete list->takeTopLevelItem(0);
    }
    QCoreApplication::processEvents();

    EXPECT_EQ(list->verticalScrollBar()->isVisible(), length.scrolls);
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_EQ(list->columnWidth(1), 116);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1),
              length.scrolls ? list->viewport()->width() : 453 + 116);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListColumns,
                         ::testing::Values(ListLength{"Few", 5, 5, false},
                                           ListLength{"Many", 40, 40, true},
                                           ListLength{"ManyThenFew", 40, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A long text is cut where its column keeps it useful: a status at its end, so it still starts
// with what happened; a path in its middle, so the file name at its end stays in sight. Seen in
// the drawn list: a row with the long text and a row with only its start must look alike over
// the part of the cell that start covers exactly when the start is kept.
struct CutText {
    const char* name;
    int column;
    const char* text;
    double startShare; // of the column's width
    bool startKept;
};

using ListCutting = WindowTest<CutText>;

TEST_P(ListCutting, LongTextIsCutWhereItsColumnNeedsIt) {
    const CutText& cut = GetParam();
    ui::FileListView* list = bed.form.ListView1;
    const QString text = QLatin1String(cut.text);
    const QFontMetrics metrics(list->font());
    ASSERT_GT(metrics.horizontalAdvance(text), list->columnWidth(cut.column)) << "must be cut";
    QString start = text;
    while (metrics.horizontalAdvance(start) > cut.startShare * list->columnWidth(cut.column)) {
        start.chop(1);
    }
    for (const QString& shown : {text, start}) {
        list->appendFile(cut.column == 0 ? shown : QString(), cut.column == 1 ? shown : QString());
    }
    bed.form.show();
    const QImage drawn = list->viewport()->grab().toImage();
    auto cell = [&](int row) {
        QRect rect = list->visualRect(list->model()->index(row, cut.column));
        // Up to the start's last letter, after the cell's small left margin: what follows that
        // letter differs between the rows even when the start is kept.
        rect.setWidth(metrics.horizontalAdvance(start.chopped(1)) + 4);
        return drawn.copy(rect);
    };
    EXPECT_EQ(cell(0) == cell(1), cut.startKept) << start.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ListCutting,
    ::testing::Values(
        CutText{"StatusAtItsEnd", 1, "Error: Can not read the flv file", 0.75, true},
        CutText{"FileNameKeepsItsStart", 0,
                "/home/someone/Videos/Lectures of the autumn term/Week 12/Lecture 24 - "
                "Recursive filters and their stability, with examples.flv",
                0.3, true},
        CutText{"FileNameIsCutInItsMiddle", 0,
                "/home/someone/Videos/Lectures of the autumn term/Week 12/Lecture 24 - "
                "Recursive filters and their stability, with examples.flv",
                0.75, false}),
    [](const auto& info) { return std::string(info.param.name); });

// What a screen reader announces for each control of the windows.
struct SpokenName {
    const char* window;
    const char* control;
    const char* name;
};

class AccessibleNames : public ::testing::TestWithParam<SpokenName> {
protected:
    QWidget* window(const QString& name) {
        if (name == "FormMain") {
            return &bed.form;
        }
        if (name == "FormPath") {
            return &formPath;
        }
        return &picker;
    }
    FormMainTestbed bed;
    ui::FormPath formPath{bed.folderPicker, bed.files, bed.messages, &bed.form};
    ui::FolderPickerDialog picker{"Please select the output folder.", QString(), &formPath};
};

TEST_P(AccessibleNames, EveryControlHasOne) {
    const SpokenName& spoken = GetParam();
    auto* control = window(spoken.window)->findChild<QWidget*>(QLatin1String(spoken.control));
    ASSERT_NE(control, nullptr) << spoken.control;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QLatin1String(spoken.name));
}

INSTANTIATE_TEST_SUITE_P(Controls, AccessibleNames,
                         ::testing::Values(SpokenName{"FormMain", "ListView1", "Files"},
                                           SpokenName{"FormMain", "CmdAdd", "Add"},
                                           SpokenName{"FormMain", "CmdRemove", "Remove"},
                                           SpokenName{"FormMain", "CmdExtract", "Extract"},
                                           SpokenName{"FormMain", "CmdUpdate", "Check Update"},
                                           SpokenName{"FormPath", "Option1", "Same as input path"},
                                           SpokenName{"FormPath", "Option2", "Specify a path"},
                                           SpokenName{"FormPath", "CmdBrowse", "Browse..."},
                                           SpokenName{"FormPath", "TextOutput", "Output folder"},
                                           SpokenName{"FormPath", "CmdOK", "OK"},
                                           SpokenName{"FormPath", "CmdCancel", "Cancel"},
                                           SpokenName{"Picker", "folderTree", "Folders"},
                                           SpokenName{"Picker", "statusLine", "Selected folder"},
                                           SpokenName{"Picker", "homeButton", "Home folder"}),
                         [](const auto& info) {
                             return std::string(info.param.window) + "_" +
                                    std::string(info.param.control);
                         });

// The dialogs the window shows carry its look: the skin's style and colours and the window's
// font, on the dialog and on the controls inside it.
struct ShownDialog {
    const char* name;
    std::function<void(QWidget* owner)> show;
};

using DialogLook = WindowTest<ShownDialog>;

TEST_P(DialogLook, IsTheWindowsLook) {
    QWidget* seen = nullptr;
    QString buttonStyle;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || seen != nullptr) {
            return;
        }
        seen = dialog;
        EXPECT_EQ(dialog->palette().color(QPalette::Window),
                  bed.form.palette().color(QPalette::Window));
        EXPECT_EQ(dialog->palette().color(QPalette::Button),
                  bed.form.palette().color(QPalette::Button));
        EXPECT_EQ(QFontInfo(dialog->font()).family(), QFontInfo(bed.form.font()).family());
        EXPECT_EQ(dialog->font().pointSize(), 9);
        const auto buttons = dialog->findChildren<QPushButton*>();
        EXPECT_FALSE(buttons.isEmpty());
        for (QPushButton* button : buttons) {
            EXPECT_EQ(button->style(), bed.form.CmdAdd->style()) << button->text().toStdString();
        }
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    poll.start();
    GetParam().show(&bed.form);
    EXPECT_NE(seen, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLook,
                         ::testing::Values(ShownDialog{"MessageBox",
                                                       [](QWidget* owner) {
                                                           ui::QtMessageBox(owner).showMessage(
                                                               "Can not read /x", "Error",
                                                               ui::MessageIcon::Critical);
                                                       }},
                                           ShownDialog{"OpenFileDialog",
                                                       [](QWidget* owner) {
                                                           ui::QtOpenFileDialog().getOpenFileNames(
                                                               owner, QDir::tempPath());
                                                       }},
                                           ShownDialog{"FolderPicker",
                                                       [](QWidget* owner) {
                                                           ui::DialogFolderPicker().BrowseForFolder(
                                                               owner, "title", QDir::tempPath());
                                                       }}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillon::uitest
