// SPDX-License-Identifier: GPL-3.0-or-later
// Building the list: the Add dialog, drops from a file manager, the program's command line, and
// Remove.
#include "app/gui/guiarguments.h"
#include "formmaintestbed.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace quillon::uitest {
namespace {

const QString kReady = QStringLiteral("Ready");

TEST(AddByDialog, SingleFileIsListedAsReadyAndRemembersItsFolder) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/videos/one/clip.flv"});
    EXPECT_EQ(bed.rowTexts(), QStringList{"/videos/one/clip.flv"});
    EXPECT_EQ(bed.statuses(), QStringList{kReady});
    EXPECT_EQ(bed.form.lastFolder(), "/videos/one/");

    bed.openFileDialog.answers.push_back({"/videos/two/next.flv"});
    bed.form.CmdAdd->click();
    EXPECT_EQ(bed.openFileDialog.startFolders, (QStringList{"", "/videos/one/"}));
}

TEST(AddByDialog, ExtensionTestIgnoresCaseButNeedsTheWholeExtension) {
    FormMainTestbed bed;
    for (const char* name :
         {"/v/a.FLV", "/v/b.Flv", "/v/.flv", "/v/c.flv.txt", "/v/d.fl", "/v/e", "/v/f.x.flv"}) {
        bed.addThroughDialog({QString::fromLatin1(name)});
    }
    EXPECT_EQ(bed.rowTexts(), (QStringList{"/v/a.FLV", "/v/b.Flv", "/v/.flv", "/v/f.x.flv"}));
}

TEST(AddByDialog, RefusedSingleFileStillMovesLastFolder) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/music/notes.txt"});
    EXPECT_TRUE(bed.rowTexts().isEmpty());
    EXPECT_EQ(bed.form.lastFolder(), "/music/");
}

TEST(AddByDialog, CancelledDialogChangesNothing) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/a/clip.flv"});
    bed.form.CmdAdd->click(); // no answer queued: cancelled
    EXPECT_EQ(bed.rowTexts(), QStringList{"/a/clip.flv"});
    EXPECT_EQ(bed.form.lastFolder(), "/a/");
}

TEST(AddByDialog, SingleDuplicateIsSkippedButSeveralFilesAreListedAgain) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/a/clip.flv"});
    bed.addThroughDialog({"/a/clip.flv"});
    EXPECT_EQ(bed.rowTexts().size(), 1);
    bed.addThroughDialog({"/a/clip.flv", "/a/other.flv"});
    EXPECT_EQ(bed.rowTexts(), (QStringList{"/a/clip.flv", "/a/clip.flv", "/a/other.flv"}));
}

TEST(AddByDialog, SeveralFilesSkipOtherExtensionsAndKeepTheirOrder) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/b/z.flv", "/b/readme.txt", "/b/a.FLV"});
    EXPECT_EQ(bed.rowTexts(), (QStringList{"/b/z.flv", "/b/a.FLV"}));
    EXPECT_EQ(bed.statuses(), (QStringList{kReady, kReady}));
    EXPECT_EQ(bed.form.lastFolder(), "/b/");
    EXPECT_GE(bed.pump.calls, 2) << "the list should repaint while rows arrive";
}

TEST(AddByDialog, SelectionInTheRootFolderHasOneSeparator) {
    FormMainTestbed bed;
    bed.addThroughDialog({"/a.flv", "/b.flv"});
    EXPECT_EQ(bed.rowTexts(), (QStringList{"/a.flv", "/b.flv"}));
    EXPECT_EQ(bed.form.lastFolder(), "/");
}

TEST(AddByDialog, NamesWithSpacesAndNonAsciiCharactersAreKeptExactly) {
    FormMainTestbed bed;
    const QString name = QStringLiteral("/tmp/Musik für mich/Überspielung 1.flv");
    bed.addThroughDialog({name});
    EXPECT_EQ(bed.rowTexts(), QStringList{name});
    EXPECT_EQ(bed.form.rowText(1), name.toStdString());
}

TEST(IsInList, ComparesWholePathsWithCase) {
    FormMainTestbed bed;
    EXPECT_FALSE(bed.form.IsInList("/a/clip.flv"));
    bed.addThroughDialog({"/a/clip.flv", "/a/two.flv"});
    EXPECT_TRUE(bed.form.IsInList("/a/two.flv"));
    EXPECT_FALSE(bed.form.IsInList("/a/CLIP.flv"));
    EXPECT_FALSE(bed.form.IsInList("/a/clip.fl"));
    EXPECT_FALSE(bed.form.IsInList("a/clip.flv"));
}

// Drops land on the list's rows or on its header alike.
enum class DropTarget { Rows, Header };

class Dropping : public ::testing::Test {
protected:
    bool drop(const QMimeData& data, DropTarget on) {
        QWidget* target = on == DropTarget::Header ? bed.form.ListView1->header()->viewport()
                                                   : bed.form.ListView1->viewport();
        return dragAndDrop(bed.form, data, target);
    }
    bool drop(const QStringList& paths, DropTarget on) {
        std::unique_ptr<QMimeData> data(fileDrag(paths));
        return drop(*data, on);
    }
    FormMainTestbed bed;
};

class DropOnList : public Dropping, public ::testing::WithParamInterface<DropTarget> {
protected:
    bool drop(const QMimeData& data) { return Dropping::drop(data, GetParam()); }
    bool drop(const QStringList& paths) { return Dropping::drop(paths, GetParam()); }
};

TEST_P(DropOnList, FilesAreListedOnceAndFoldersAreNotOpened) {
    const QString a = bed.writeFile("a.flv");
    const QString b = bed.writeFile("B.FLV");
    const QString text = bed.writeFile("notes.txt");
    const QString folder = bed.makeFolder("folder.flv");
    bed.writeFile("folder.flv/inside.flv");
    EXPECT_TRUE(drop({a, folder, text, b}));
    EXPECT_EQ(bed.rowTexts(), (QStringList{a, b}));
    EXPECT_EQ(bed.statuses(), (QStringList{kReady, kReady}));

    EXPECT_TRUE(drop({b, a}));
    EXPECT_EQ(bed.rowTexts(), (QStringList{a, b})) << "already listed files are not added again";
}

TEST_P(DropOnList, DuplicateTestIsCaseSensitive) {
    const QString lower = bed.writeFile("clip.flv");
    const QString upper = bed.writeFile("CLIP.FLV");
    drop({lower});
    drop({upper});
    EXPECT_EQ(bed.rowTexts(), (QStringList{lower, upper}));
}

TEST_P(DropOnList, VanishedItemEndsTheDropAndKeepsWhatCameBefore) {
    const QString first = bed.writeFile("first.flv");
    const QString last = bed.writeFile("last.flv");
    drop({first, bed.path("gone.flv"), last});
    EXPECT_EQ(bed.rowTexts(), QStringList{first});
}

TEST_P(DropOnList, DataWithoutFilesIsRefused) {
    QMimeData text;
    text.setText(bed.writeFile("a.flv"));
    EXPECT_FALSE(drop(text));
    QMimeData web;
    web.setUrls({QUrl("https://example.com/video.flv")});
    EXPECT_FALSE(drop(web));
    EXPECT_TRUE(bed.rowTexts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Targets, DropOnList,
                         ::testing::Values(DropTarget::Rows, DropTarget::Header),
                         [](const auto& info) {
                             return info.param == DropTarget::Header ? "Header" : "Rows";
                         });

// `quillon FILE...` as a file manager's "Open With" runs it: the FILEs are listed exactly as the
// same files dropped onto the list would be. Names are relative to the test's folder, which is
// the current directory; "{dir}" in an argument stands for its full path. Names are bytes, as the
// system has them: "caf\xE9.flv" is Latin-1, not UTF-8.
struct CommandLineCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> dropped;
    std::vector<std::string> listed;
    // What the drop lists, where it differs: it stops at the first item that is not there.
    std::vector<std::string> listedByDrop;
    std::vector<std::string> notFound;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) {
    *out << c.name;
}

class OpenedWithFiles : public Dropping, public ::testing::WithParamInterface<CommandLineCase> {
protected:
    void SetUp() override {
        for (const char* name :
             {"a.flv", "B.FLV", "notes.txt", "-dash.flv", "sub/c.flv", "folder.flv/inside.flv"}) {
            bed.makeFolder(QFileInfo(QString::fromLatin1(name)).path());
            bed.writeFile(QString::fromLatin1(name));
        }
        bed.writeNativeFile("caf\xE9.flv");
        QDir::setCurrent(bed.folder.path());
    }
    QList<QByteArray> inFolder(const std::vector<std::string>& names) const {
        QList<QByteArray> paths;
        for (const std::string& name : names) {
            paths.append(QFile::encodeName(bed.folder.path()) + '/' +
                         QByteArray::fromStdString(name));
        }
        return paths;
    }
};

TEST_P(OpenedWithFiles, ListsWhatADropListsButNamesMissingFilesAndGoesOn) {
    const CommandLineCase& c = GetParam();
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) {
        if (const auto at = arg.find("{dir}"); at != std::string::npos) {
            arg.replace(at, 5, bed.folder.path().toStdString());
        }
    }
    const gui::GuiArguments parsed = gui::parseGuiArguments(args);
    ASSERT_EQ(parsed.action, gui::GuiArguments::Action::Open) << parsed.error;
    bed.form.addFiles(parsed.files);
    EXPECT_EQ(bed.rowPaths(), inFolder(c.listed));
    std::vector<std::string> notFound;
    for (const auto& missing : parsed.notFound) {
        notFound.push_back(missing.name + ": " + missing.reason.message());
    }
    EXPECT_EQ(notFound, c.notFound);

    bed.form.ListView1->clear();
    std::unique_ptr<QMimeData> data(fileDrag(inFolder(c.dropped)));
    drop(*data, DropTarget::Rows);
    EXPECT_EQ(bed.rowPaths(), inFolder(c.listedByDrop.empty() ? c.listed : c.listedByDrop));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, OpenedWithFiles,
    ::testing::Values(CommandLineCase{"FoldersAndOtherExtensionsAreSkipped",
                                      {"a.flv", "folder.flv", "notes.txt", "B.FLV"},
                                      {"a.flv", "folder.flv", "notes.txt", "B.FLV"},
                                      {"a.flv", "B.FLV"},
                                      {},
                                      {}},
                      CommandLineCase{"OneFileNamedFourWaysIsListedOnce",
                                      {"a.flv", "./a.flv", "sub/../a.flv", "{dir}/a.flv"},
                                      {"a.flv", "a.flv"},
                                      {"a.flv"},
                                      {},
                                      {}},
                      CommandLineCase{
                          "AMissingFileIsReportedAndTheOthersListed",
                          {"sub/c.flv", "gone.flv", "a.flv", "a.flv/b.flv"},
                          {"sub/c.flv", "gone.flv", "a.flv"},
                          {"sub/c.flv", "a.flv"},
                          {"sub/c.flv"},
                          {"gone.flv: No such file or directory", "a.flv/b.flv: Not a directory"}},
                      CommandLineCase{"AfterDoubleDashADashIsPartOfAName",
                                      {"--", "-dash.flv", "--", "a.flv"},
                                      {"-dash.flv", "--", "a.flv"},
                                      {"-dash.flv", "a.flv"},
                                      {"-dash.flv"},
                                      {"--: No such file or directory"}},
                      CommandLineCase{"ANameThatIsNotUtf8IsListedAsItIs",
                                      {"caf\xE9.flv", "a.flv"},
                                      {"caf\xE9.flv", "a.flv"},
                                      {"caf\xE9.flv", "a.flv"},
                                      {},
                                      {}}),
    [](const auto& info) { return std::string(info.param.name); });

// However a list grows, its first new row comes into view, also at the end of a long list.
enum class AddedBy { Dialog, Drop, CommandLine };
struct Growth {
    const char* name;
    AddedBy by;
};

void PrintTo(const Growth& g, std::ostream* out) {
    *out << g.name;
}
using AddingToALongList = WindowTest<Growth>;

TEST_P(AddingToALongList, BringsTheFirstAddedRowIntoView) {
    QTreeWidget* list = bed.form.ListView1;
    QStringList earlier;
    for (int i = 0; i < 60; ++i) {
        earlier.append(bed.writeFile(QStringLiteral("%1.flv").arg(i)));
    }
    bed.addThroughDialog(earlier);
    bed.form.show();
    list->scrollToTop();
    const QStringList added = {bed.writeFile("new 1.flv"), bed.writeFile("new 2.flv")};
    switch (GetParam().by) {
    case AddedBy::Dialog:
        bed.addThroughDialog(added);
        break;
    case AddedBy::Drop: {
        std::unique_ptr<QMimeData> data(fileDrag(added));
        dragAndDrop(bed.form, *data);
        break;
    }
    case AddedBy::CommandLine:
        bed.form.addFiles({QFile::encodeName(added[0]), QFile::encodeName(added[1])});
        break;
    }
    ASSERT_EQ(list->topLevelItemCount(), 62);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->topLevelItem(60))));
}

INSTANTIATE_TEST_SUITE_P(Ways, AddingToALongList,
                         ::testing::Values(Growth{"Dialog", AddedBy::Dialog},
                                           Growth{"Drop", AddedBy::Drop},
                                           Growth{"CommandLine", AddedBy::CommandLine}),
                         [](const auto& info) { return std::string(info.param.name); });

class RemoveRows : public ::testing::Test {
protected:
    void SetUp() override {
        bed.addThroughDialog({"/r/0.flv", "/r/1.flv", "/r/2.flv", "/r/3.flv", "/r/4.flv"});
        bed.form.show();
        bed.form.CmdRemove->setFocus();
    }
    FormMainTestbed bed;
};

TEST_F(RemoveRows, RemovesEverySelectedRowAndFocusesTheList) {
    bed.select({0, 2, 4});
    bed.form.CmdRemove->click();
    EXPECT_EQ(bed.rowTexts(), (QStringList{"/r/1.flv", "/r/3.flv"}));
    EXPECT_EQ(bed.form.focusWidget(), bed.form.ListView1);
}

TEST_F(RemoveRows, NothingSelectedRemovesNothingButFocusesTheList) {
    bed.select({});
    bed.form.CmdRemove->click();
    EXPECT_EQ(bed.rowTexts().size(), 5);
    EXPECT_EQ(bed.form.focusWidget(), bed.form.ListView1);
}

TEST_F(RemoveRows, AllSelectedEmptiesTheListAndAnEmptyListIsLeftAlone) {
    bed.select({0, 1, 2, 3, 4});
    bed.form.CmdRemove->click();
    EXPECT_TRUE(bed.rowTexts().isEmpty());
    bed.form.CmdUpdate->setFocus();
    bed.form.CmdRemove->click();
    EXPECT_TRUE(bed.rowTexts().isEmpty());
    EXPECT_NE(bed.form.focusWidget(), bed.form.ListView1) << "an empty list does nothing";
}

} // namespace
} // namespace quillon::uitest
