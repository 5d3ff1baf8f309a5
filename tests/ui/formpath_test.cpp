// The output folder dialog on its own, answered by a scripted folder picker.
#include "answeringdialogs.h"
#include "platform/posixfilesystem.h"
#include "ui/folderpickerdialog.h"
#include "ui/formpath.h"

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
    EXPECT_EQ(dialog.minimumSize(), QSize(466, 121));
    EXPECT_EQ(dialog.maximumSize(), QSize(466, 121));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(showsSameAsInput());
    EXPECT_TRUE(dialog.TextOutput->isReadOnly());
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
    EXPECT_EQ(QDir::currentPath(), QDir(out).canonicalPath()) << "the folder test moves there";

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

TEST(FolderPickerDialog, PreselectsAnExistingFolderAndShowsItsPath) {
    QTemporaryDir temp;
    QDir(temp.path()).mkpath("inner");
    const QString inner = QDir(temp.filePath("inner")).canonicalPath();
    ui::FolderPickerDialog picker("Please select the output folder.", inner);
    EXPECT_EQ(picker.titleLabel()->text(), "Please select the output folder.");
    EXPECT_EQ(picker.selectedFolder(), inner);
    EXPECT_EQ(picker.statusLine()->text(), inner);
}

TEST(FolderPickerDialog, IgnoresAnInitialTextThatIsNoFolder) {
    QTemporaryDir temp;
    QFile file(temp.filePath("plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& initial : {QString("[Same as input path]"), file.fileName(), QString()}) {
        ui::FolderPickerDialog picker("title", initial);
        EXPECT_EQ(picker.selectedFolder(), "") << initial.toStdString();
        EXPECT_EQ(picker.statusLine()->text(), "");
    }
}

TEST(FolderPickerDialog, RootIsChosenWithItsSeparator) {
    ui::FolderPickerDialog picker("title", "/");
    EXPECT_EQ(picker.selectedFolder(), "/");
}

} // namespace
} // namespace quillon::uitest
