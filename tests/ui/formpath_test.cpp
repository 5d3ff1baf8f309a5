// SPDX-License-Identifier: GPL-3.0-or-later
// The output folder dialog on its own, answered by a scripted folder picker.
#include "answeringdialogs.h"
#include "platform/posixfilesystem.h"
#include "ui/folderpickerdialog.h"
#include "ui/foldertreefilter.h"
#include "ui/formpath.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <utility>

namespace quillon::uitest {
namespace {

const QString kSame = QStringLiteral("[Same as input path]");

class FormPathTest : public ::testing::Test {
protected:
    ~FormPathTest() override { QDir::setCurrent(savedCurrentDirectory); }

    QString folder(const QString& name) {
        QDir(temp.path()).mkpath(name);
        return temp.filePath(name);
    }
    // Clicks Option2 with the picker answering `chosen`.
    void specifyPath(const QString& chosen) {
        picker.answers.push_back(chosen);
        dialog.Option2->click();
    }
    bool showsSameAsInput() const {
        return dialog.Option1->isChecked() && !dialog.Option2->isChecked() &&
               dialog.TextOutput->text() == kSame && !dialog.CmdBrowse->isEnabled();
    }

    QString savedCurrentDirectory = QDir::currentPath();
    QTemporaryDir temp;
    platform::PosixFileSystem files;
    AnsweringFolderPicker picker;
    RecordingMessageBox messages;
    ui::FormPath dialog{picker, files, messages, nullptr};
};

TEST_F(FormPathTest, StartsOnSameAsInputWithItsControlsInPlace) {
    EXPECT_EQ(dialog.windowTitle(), "Output path");
    EXPECT_EQ(dialog.minimumSize(), QSize(466, 164));
    EXPECT_EQ(dialog.maximumSize(), QSize(466, 164));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(showsSameAsInput());
    EXPECT_TRUE(dialog.TextOutput->isReadOnly());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.TextOutput)->text(QAccessible::Name),
              "Output folder");
    EXPECT_EQ(dialog.Frame2->geometry(), QRect(6, 3, 454, 74));
    EXPECT_EQ(dialog.Option1->geometry(), QRect(14, 21, 131, 16));
    EXPECT_EQ(dialog.Option1->text(), "Same as input path");
    EXPECT_EQ(dialog.Option2->geometry(), QRect(160, 21, 109, 16));
    EXPECT_EQ(dialog.Option2->text(), "Specify a path");
    EXPECT_EQ(dialog.CmdBrowse->geometry(), QRect(277, 15, 72, 22));
    EXPECT_EQ(dialog.CmdBrowse->text(), "Browse...");
    EXPECT_EQ(dialog.TextOutput->geometry(), QRect(14, 41, 432, 21));
    EXPECT_EQ(dialog.CmdOK->geometry(), QRect(214, 86, 90, 24));
    EXPECT_EQ(dialog.CmdOK->text(), "OK");
    EXPECT_TRUE(dialog.CmdOK->isDefault());
    EXPECT_EQ(dialog.CmdCancel->geometry(), QRect(318, 86, 90, 24));
    EXPECT_EQ(dialog.CmdCancel->text(), "Cancel");
    EXPECT_EQ(dialog.ChkVbrHeader->geometry(), QRect(14, 118, 432, 18));
    EXPECT_EQ(dialog.ChkVbrHeader->text(), "Write a VBR header (exact durations)");
    EXPECT_FALSE(dialog.ChkVbrHeader->isChecked());
    EXPECT_EQ(dialog.ChkAac->geometry(), QRect(14, 138, 432, 18));
    EXPECT_EQ(dialog.ChkAac->text(), "Also extract AAC audio (.aac)");
    EXPECT_FALSE(dialog.ChkAac->isChecked());

    const QList<QWidget*> tabOrder = {dialog.Option1,      dialog.Option2, dialog.CmdBrowse,
                                      dialog.TextOutput,   dialog.CmdOK,   dialog.CmdCancel,
                                      dialog.ChkVbrHeader, dialog.ChkAac};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        EXPECT_EQ(tabOrder[i]->nextInFocusChain(), tabOrder[i + 1])
            << "after " << tabOrder[i]->objectName().toStdString();
    }
}

TEST_F(FormPathTest, OptionsGoWithTheChoiceAndAreThereAgainAtTheNextStart) {
    dialog.ChkAac->click();
    dialog.CmdOK->click();
    EXPECT_TRUE(dialog.choice().aac);
    EXPECT_FALSE(dialog.choice().vbrHeader);
    {
        ui::FormPath next(picker, files, messages, nullptr);
        EXPECT_TRUE(next.ChkAac->isChecked());
        EXPECT_FALSE(next.ChkVbrHeader->isChecked());
        next.ChkAac->click();
        next.ChkVbrHeader->click();
        EXPECT_TRUE(next.choice().vbrHeader);
        EXPECT_FALSE(next.choice().aac);
    }
    ui::FormPath third(picker, files, messages, nullptr);
    EXPECT_TRUE(third.ChkVbrHeader->isChecked());
    EXPECT_FALSE(third.ChkAac->isChecked());
}

TEST_F(FormPathTest, OkAtOnceConfirmsWithoutAFolder) {
    dialog.show();
    dialog.CmdOK->click();
    const engine::OutputChoice choice = dialog.choice();
    EXPECT_TRUE(choice.OutputConfirmed);
    EXPECT_TRUE(choice.sameAsInput);
    EXPECT_EQ(choice.OutputFolder, "");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(picker.titles.isEmpty());
}

TEST_F(FormPathTest, FirstSpecifyPathOpensThePickerAndCancelFallsBack) {
    specifyPath({});
    ASSERT_EQ(picker.titles.size(), 1);
    EXPECT_EQ(picker.titles[0], "Please select the output folder.");
    EXPECT_TRUE(showsSameAsInput());
    EXPECT_TRUE(dialog.outputFolder().isEmpty());
}

TEST_F(FormPathTest, ChosenFolderIsShownBareAndStoredWithSeparator) {
    const QString out = folder("out put");
    specifyPath(out);
    EXPECT_TRUE(dialog.Option2->isChecked());
    EXPECT_EQ(dialog.TextOutput->text(), out);
    EXPECT_EQ(dialog.outputFolder(), out + "/");
    EXPECT_TRUE(dialog.CmdBrowse->isEnabled());

    dialog.CmdOK->click();
    const engine::OutputChoice choice = dialog.choice();
    EXPECT_FALSE(choice.sameAsInput);
    EXPECT_EQ(QString::fromStdString(choice.OutputFolder), out + "/");
}

TEST_F(FormPathTest, RootFolderKeepsItsOneSeparator) {
    specifyPath("/");
    EXPECT_EQ(dialog.TextOutput->text(), "/");
    EXPECT_EQ(dialog.outputFolder(), "/");
    dialog.CmdBrowse->click();
    EXPECT_EQ(picker.initialFolders.last(), "/");
}

TEST_F(FormPathTest, BackToSpecifyPathShowsTheStoredFolderWithoutAsking) {
    const QString out = folder("out");
    specifyPath(out);
    dialog.Option1->click();
    EXPECT_TRUE(showsSameAsInput());
    EXPECT_EQ(dialog.outputFolder(), out + "/") << "Same as input keeps the folder";

    dialog.CmdOK->click();
    EXPECT_TRUE(dialog.choice().sameAsInput);
    EXPECT_EQ(QString::fromStdString(dialog.choice().OutputFolder), out + "/");

    dialog.Option2->click();
    EXPECT_EQ(picker.titles.size(), 1) << "no second picker";
    EXPECT_EQ(dialog.TextOutput->text(), out + "/");
    EXPECT_TRUE(dialog.CmdBrowse->isEnabled());
}

TEST_F(FormPathTest, BrowsePreselectsTheShownFolderAndCancelChangesNothing) {
    const QString out = folder("out");
    specifyPath(out);
    dialog.Option1->click();
    dialog.Option2->click(); // shows "out/" with its separator
    dialog.CmdBrowse->click();
    EXPECT_EQ(picker.initialFolders.last(), out) << "offered without the trailing separator";
    EXPECT_EQ(dialog.TextOutput->text(), out + "/");
    EXPECT_EQ(dialog.outputFolder(), out + "/");
    EXPECT_TRUE(dialog.Option2->isChecked());
}

TEST_F(FormPathTest, UnreadableFolderIsRefusedWithAMessage) {
    const QString good = folder("good");
    const QString gone = temp.filePath("gone");
    specifyPath(gone);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, ("Can not read " + gone).toStdString());
    EXPECT_EQ(messages.shown[0].title, "Error");
    EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(showsSameAsInput()) << "no folder yet: back to Same as input";

    specifyPath(good);
    picker.answers.push_back(gone);
    dialog.CmdBrowse->click();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(dialog.TextOutput->text(), good);
    EXPECT_EQ(dialog.outputFolder(), good + "/");
    EXPECT_TRUE(dialog.Option2->isChecked());
}

TEST_F(FormPathTest, EnterIsOkAndEscapeIsCancel) {
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.outputConfirmed());

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.outputConfirmed());
}

TEST_F(FormPathTest, CloseBoxCountsAsCancelAndKeepsTheState) {
    const QString out = folder("kept");
    specifyPath(out);
    dialog.show();
    dialog.CmdOK->click();
    ASSERT_TRUE(dialog.outputConfirmed());

    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.outputConfirmed());
    EXPECT_TRUE(dialog.Option2->isChecked());
    EXPECT_EQ(dialog.TextOutput->text(), out);
    EXPECT_EQ(dialog.outputFolder(), out + "/");
}

// The picker really shown, its tree focused: nothing counts as chosen until the user chooses a
// folder or the preselected folder exists. Until then the status line is empty, OK is disabled
// and Enter does nothing; a click on a folder chooses it, and Enter then confirms it.
struct PickerStart {
    const char* name;
    const char* initial; // "$" stands for an existing folder
    bool preselected;    // the existing folder is preselected
};

void PrintTo(const PickerStart& p, std::ostream* out) {
    *out << p.name;
}
using FolderPickerShown = ::testing::TestWithParam<PickerStart>;

TEST_P(FolderPickerShown, NothingCountsAsChosenUntilAFolderIs) {
    QTemporaryDir temp;
    const QString existing = QDir(temp.path()).canonicalPath();
    const bool preselected = GetParam().preselected;
    const QString expected = preselected ? existing : QString();
    ui::FolderPickerDialog picker("title",
                                  QString::fromUtf8(GetParam().initial).replace('$', existing));
    picker.show();
    picker.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    picker.tree()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(picker.tree()->hasFocus());
    EXPECT_EQ(picker.statusLine()->text(), expected);
    EXPECT_EQ(picker.okButton()->isEnabled(), preselected);
    if (!preselected) {
        QTest::keyClick(picker.tree(), Qt::Key_Return);
        EXPECT_TRUE(picker.isVisible()) << "Enter with nothing chosen";
        ASSERT_TRUE(QTest::qWaitFor([&] { return picker.tree()->model()->rowCount() > 0; }));
        const QRect first = picker.tree()->visualRect(picker.tree()->model()->index(0, 0));
        QTest::mouseClick(picker.tree()->viewport(), Qt::LeftButton, {}, first.center());
        EXPECT_EQ(picker.statusLine()->text(), "/");
    }
    QTest::keyClick(picker.tree(), Qt::Key_Return);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.selectedFolder(), preselected ? existing : "/");
}

INSTANTIATE_TEST_SUITE_P(Starts, FolderPickerShown,
                         ::testing::Values(PickerStart{"Nothing", "", false},
                                           PickerStart{"SameAsInputText", "[Same as input path]",
                                                       false},
                                           PickerStart{"ExistingFolder", "$", true},
                                           // A stored folder deleted since, with its parent.
                                           PickerStart{"DeletedFolder", "$/gone/deeper", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A preselected folder deep in the tree is expanded and in view once its branch has loaded,
// although the folders loaded around it push it down: here fifty earlier siblings.
TEST(FolderPickerDialog, PreselectedFolderDeepInTheTreeIsExpandedAndInView) {
    QTemporaryDir temp;
    QDir root(temp.path());
    for (int i = 0; i < 50; ++i) {
        root.mkpath(QStringLiteral("deep/er/a%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    root.mkpath("deep/er/target/inside");
    const QString target = QDir(temp.filePath("deep/er/target")).canonicalPath();
    ui::FolderPickerDialog picker("title", target);
    picker.show();

    QTreeView* tree = picker.tree();
    const QPersistentModelIndex selected = tree->selectionModel()->selectedRows().value(0);
    ASSERT_TRUE(selected.isValid());
    // Loaded and sorted: the target is the last of its 51 siblings.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return selected.row() == 50 && tree->model()->rowCount(selected.parent()) == 51; },
        20000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(selected)));
    EXPECT_TRUE(tree->isExpanded(selected));
    EXPECT_EQ(picker.selectedFolder(), target);
}

// The kernel's and the system's pseudo file systems hold no place for output; names that only
// start alike do.
using PseudoFileSystems = ::testing::TestWithParam<std::pair<const char*, bool>>;

TEST_P(PseudoFileSystems, AreRecognised) {
    EXPECT_EQ(ui::isPseudoFileSystemPath(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PseudoFileSystems,
    ::testing::Values(std::pair{"/proc", true}, std::pair{"/sys/fs", true},
                      std::pair{"/dev/shm", true}, std::pair{"/run/user/1000", true},
                      std::pair{"/var/run", true}, std::pair{"/", false},
                      std::pair{"/processing", false}, std::pair{"/devices", false},
                      std::pair{"/home/me/run", false}, std::pair{"/tmp", false}));

TEST(FolderPickerDialog, OffersNoPseudoFileSystemButTheHomeFolderAndNamesItsControls) {
    ui::FolderPickerDialog picker("title", QString());
    picker.show();
    const QAbstractItemModel* model = picker.tree()->model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount() > 0; }));
    const QPersistentModelIndex root = model->index(0, 0);
    picker.tree()->expand(root);
    auto listed = [&](const char* name) {
        return !model->match(model->index(0, 0, root), Qt::DisplayRole, name, 1, Qt::MatchExactly)
                    .isEmpty();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return listed("tmp") && listed("usr"); }, 20000));
    for (const char* pseudo : {"proc", "sys", "dev", "run"}) {
        EXPECT_FALSE(listed(pseudo)) << pseudo;
    }
    picker.homeButton()->click();
    EXPECT_EQ(picker.selectedFolder(), QDir(QDir::homePath()).absolutePath());
    EXPECT_TRUE(picker.okButton()->isEnabled());

    const std::pair<QWidget*, const char*> spoken[] = {{picker.tree(), "Folders"},
                                                       {picker.statusLine(), "Selected folder"}};
    for (const auto& [control, name] : spoken) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    }
}

TEST(FolderPickerDialog, RootIsChosenWithItsSeparator) {
    ui::FolderPickerDialog picker("title", "/");
    EXPECT_EQ(picker.selectedFolder(), "/");
}

} // namespace
} // namespace quillon::uitest
