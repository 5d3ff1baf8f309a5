// Extract pressed in the window: the engine's run over real files, driven through the window.
#include "controls/progressbar/xp_progressbar.h"
#include "engine/statustexts.h"
#include "flvbuilder.h"
#include "formmaintestbed.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace quillon::uitest {
namespace {

const QString kFinished = QString::fromLatin1(engine::statusText(engine::RowStatus::Finished));
const QString kReadError = QString::fromLatin1(engine::statusText(engine::RowStatus::ReadError));
const QString kWriteError = QString::fromLatin1(engine::statusText(engine::RowStatus::WriteError));
const QString kReady = QString::fromLatin1(engine::statusText(engine::RowStatus::Ready));

QByteArray sha256Of(const QString& path) {
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex();
}

void pressOk(ui::FormPath& dialog) {
    dialog.CmdOK->click();
}

// Extract with "Specify a path", the folder picker answering `folder`.
void extractInto(FormMainTestbed& bed, const QString& folder) {
    bed.folderPicker.answers.push_back(folder);
    bed.extractAnswering([](ui::FormPath& dialog) {
        dialog.Option2->click();
        dialog.CmdOK->click();
    });
}

// An FLV of many small MP3 tags: long enough for the run to pump events many times.
QByteArray longMp3Flv(int tags = 600) {
    auto builder = testing::FlvBuilder::start();
    for (int i = 0; i < tags; ++i) {
        builder.audio(0x2F, testing::pattern(200, i));
        if (i % 3 == 0) {
            builder.video(60);
        }
    }
    const auto& bytes = builder.bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

TEST(Extract, EmptyListShowsNoDialog) {
    FormMainTestbed bed;
    EXPECT_EQ(bed.extractAnswering(pressOk), 0);
    EXPECT_EQ(bed.form.formPath(), nullptr);
}

TEST(Extract, WholeRunWritesEachOutputNextToItsInput) {
    FormMainTestbed bed;
    const QString one = bed.copyFixture("mp3-only.flv", "one.flv");
    const QString broken = bed.writeFile("broken.flv", "this is not a video");
    const QString staleOutput = bed.writeFile("broken.mp3", "an older output");
    bed.makeFolder("sub dir");
    const QString two = bed.copyFixture("mp3-video.flv", "sub dir/zwei ü.flv");
    const QString aac = bed.copyFixture("aac.flv", "aac.flv");
    bed.addThroughDialog({one, broken, two, aac});
    bed.form.show();

    std::set<QString> statusesSeen;
    int highestProgress = 0;
    bed.pump.duringPump = [&](int) {
        for (const QString& status : bed.statuses()) {
            statusesSeen.insert(status);
        }
        highestProgress = std::max(highestProgress, bed.form.XP_ProgressBar1->Value());
    };
    EXPECT_EQ(bed.extractAnswering(pressOk), 1);

    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kReadError, kFinished, kFinished}));
    EXPECT_EQ(sha256Of(bed.path("one.mp3")), expectedMp3Hash("mp3-only.flv"));
    EXPECT_EQ(sha256Of(bed.path("sub dir/zwei ü.mp3")), expectedMp3Hash("mp3-video.flv"));
    EXPECT_FALSE(QFile::exists(staleOutput)) << "an older output goes even for an unreadable input";
    EXPECT_FALSE(QFile::exists(bed.path("aac.mp3")));

    ASSERT_EQ(bed.messages.shown.size(), 1u);
    EXPECT_EQ(bed.messages.shown[0].text, "Can not get audio data");
    EXPECT_EQ(bed.messages.shown[0].icon, ui::MessageIcon::Information);

    EXPECT_TRUE(
        statusesSeen.count(QString::fromLatin1(engine::statusText(engine::RowStatus::Extracting))));
    EXPECT_GT(highestProgress, 50) << "the bar follows each file's read percentage";
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 0) << "and goes back to 0 at the end";
    EXPECT_FALSE(bed.form.runInProgress());
}

TEST(Extract, SpecifiedFolderReceivesTheOutputsAndIsOfferedAgain) {
    FormMainTestbed bed;
    bed.makeFolder("in");
    const QString input = bed.copyFixture("mp3-only.flv", "in/a.b.flv");
    const QString out = bed.makeFolder("out");
    bed.addThroughDialog({input});
    extractInto(bed, out);
    EXPECT_EQ(bed.statuses(), QStringList{kFinished});
    EXPECT_EQ(sha256Of(out + "/a.b.mp3"), expectedMp3Hash("mp3-only.flv"));
    EXPECT_FALSE(QFile::exists(bed.path("in/a.b.mp3")));

    // The dialog is only hidden between runs: the next Extract offers the same folder.
    ui::FormPath* first = bed.form.formPath();
    QString shownFolder;
    bed.extractAnswering([&](ui::FormPath& dialog) {
        shownFolder = dialog.TextOutput->text();
        dialog.CmdCancel->click();
    });
    EXPECT_EQ(bed.form.formPath(), first);
    EXPECT_EQ(shownFolder, out);
}

TEST(Extract, CancelTouchesNoRowNoFileAndNotTheBar) {
    FormMainTestbed bed;
    const QString input = bed.copyFixture("mp3-only.flv", "clip.flv");
    const QString older = bed.writeFile("clip.mp3", "older");
    bed.addThroughDialog({input});
    bed.form.setProgress(40);
    EXPECT_EQ(bed.extractAnswering(nullptr), 1);
    EXPECT_EQ(bed.statuses(), QStringList{kReady});
    EXPECT_EQ(readAll(older), "older");
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 40);
}

TEST(Extract, VanishedOutputFolderGivesAWriteErrorStatus) {
    FormMainTestbed bed;
    const QString input = bed.copyFixture("mp3-only.flv", "clip.flv");
    const QString out = bed.makeFolder("out");
    bed.addThroughDialog({input});
    extractInto(bed, out);
    ASSERT_EQ(bed.statuses(), QStringList{kFinished});
    ASSERT_TRUE(QDir(out).removeRecursively());
    bed.extractAnswering(pressOk);
    EXPECT_EQ(bed.statuses(), QStringList{kWriteError});
}

class DuringARun : public ::testing::Test {
protected:
    void SetUp() override {
        first = bed.writeFile("first.flv", longMp3Flv());
        second = bed.writeFile("second.flv", longMp3Flv());
        bed.addThroughDialog({first, second});
        bed.form.show();
        bed.pump.calls = 0; // the Add above pumped too; count the run's pumps only
    }
    FormMainTestbed bed;
    QString first;
    QString second;
};

TEST_F(DuringARun, AddRemoveExtractAndDropsAreRefused) {
    const QString extra = bed.writeFile("extra.flv");
    bool acted = false;
    bool dropOffered = true;
    int dialogsBefore = 0;
    bed.pump.duringPump = [&](int call) {
        if (call != 3) {
            return;
        }
        acted = true;
        dialogsBefore = int(bed.openFileDialog.startFolders.size());
        bed.openFileDialog.answers.push_back({extra});
        bed.form.CmdAdd->click();
        bed.select({0, 1});
        bed.form.CmdRemove->click();
        bed.form.CmdExtract->click();
        std::unique_ptr<QMimeData> data(fileDrag({extra}));
        dropOffered = dragAndDrop(bed.form, *data);
        for (QPushButton* button :
             {bed.form.CmdAdd, bed.form.CmdRemove, bed.form.CmdExtract, bed.form.CmdUpdate}) {
            EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        }
    };
    EXPECT_EQ(bed.extractAnswering(pressOk), 1) << "a refused Extract shows no second dialog";
    ASSERT_TRUE(acted);
    EXPECT_FALSE(dropOffered);
    EXPECT_EQ(int(bed.openFileDialog.startFolders.size()), dialogsBefore);
    EXPECT_EQ(bed.rowTexts(), (QStringList{first, second}));
    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kFinished}));

    // Once the run is over, the same actions work again.
    bed.pump.duringPump = nullptr;
    bed.form.CmdAdd->click();
    EXPECT_EQ(bed.rowTexts(), (QStringList{first, second, extra}));
}

TEST_F(DuringARun, ClosingStopsTheRunRemovesThePartialOutputThenCloses) {
    bool closedAtOnce = true;
    bed.pump.duringPump = [&](int call) {
        if (call == 3) {
            closedAtOnce = bed.form.close();
            EXPECT_TRUE(bed.form.isVisible()) << "the window waits for the run";
        }
    };
    bed.extractAnswering(pressOk);
    EXPECT_FALSE(closedAtOnce);
    EXPECT_FALSE(QFile::exists(bed.path("first.mp3")));
    EXPECT_FALSE(QFile::exists(bed.path("second.mp3")));
    EXPECT_NE(bed.statuses().value(0), kFinished);
    EXPECT_EQ(bed.statuses().value(1), kReady);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bed.form.isVisible());
}

TEST(Extract, ClosingWithoutARunClosesAtOnce) {
    FormMainTestbed bed;
    bed.form.show();
    EXPECT_TRUE(bed.form.close());
    EXPECT_FALSE(bed.form.isVisible());
}

} // namespace
} // namespace quillon::uitest
