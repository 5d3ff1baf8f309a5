// SPDX-License-Identifier: GPL-3.0-or-later
// Extract pressed in the window: the engine's run over real files, driven through the window.
#include "controls/progressbar/xp_progressbar.h"
#include "engine/statustexts.h"
#include "flvbuilder.h"
#include "formmaintestbed.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
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
const QString kExtracting = QString::fromLatin1(engine::statusText(engine::RowStatus::Extracting));
const QString kStopped = QString::fromLatin1(engine::statusText(engine::RowStatus::Stopped));

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

    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kReadError, kFinished,
                                           QStringLiteral("Skipped: AAC audio")}));
    EXPECT_EQ(sha256Of(bed.path("one.mp3")), expectedMp3Hash("mp3-only.flv"));
    EXPECT_EQ(sha256Of(bed.path("sub dir/zwei ü.mp3")), expectedMp3Hash("mp3-video.flv"));
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

// With "Also extract AAC audio" ticked, a batch as people have it: MP3, H.264 with AAC, video
// only, and a download that is no video at all.
TEST(Extract, WithTheAacOptionAMixedBatchGivesMp3AndAacAndSaysWhatHappened) {
    FormMainTestbed bed;
    const QString mp3 = bed.copyFixture("mp3-only.flv", "song.flv");
    const QString aac = bed.copyFixture("h264-aac.flv", "talk.flv");
    const QString silent = bed.copyFixture("video-only.flv", "silent.flv");
    const QString broken = bed.writeFile("broken.flv", "<html>Bad gateway</html>");
    bed.addThroughDialog({mp3, aac, silent, broken});
    EXPECT_EQ(bed.extractAnswering([](ui::FormPath& dialog) {
        dialog.ChkAac->click();
        dialog.CmdOK->click();
    }),
              1);
    EXPECT_EQ(bed.statuses(),
              (QStringList{kFinished, kFinished, QStringLiteral("No audio"), kReadError}));
    EXPECT_EQ(sha256Of(bed.path("song.mp3")), expectedMp3Hash("mp3-only.flv"));
    EXPECT_EQ(readAll(bed.path("talk.aac")).size(), 8302);
    EXPECT_FALSE(QFile::exists(bed.path("silent.mp3")));
    EXPECT_FALSE(QFile::exists(bed.path("silent.aac")));
    EXPECT_TRUE(bed.messages.shown.empty()) << "nothing was skipped";
}

// In a list longer than the window, the row being read is brought into view as the run reaches
// it, while the user's selection and current row stay where the user left them.
TEST(Extract, RowBeingReadIsBroughtIntoViewWithoutMovingTheSelection) {
    FormMainTestbed bed;
    QStringList paths;
    for (int i = 0; i < 60; ++i) {
        paths.append(i == 45 ? bed.writeFile("long.flv", longMp3Flv())
                             : bed.path(QStringLiteral("missing %1.flv").arg(i)));
    }
    bed.addThroughDialog(paths);
    bed.form.show();
    QTreeWidget* list = bed.form.ListView1;
    list->setCurrentItem(list->topLevelItem(2));
    const QRect rows = list->viewport()->rect();
    int seen = 0;
    bed.pump.duringPump = [&](int) {
        if (bed.statuses().value(45) != kExtracting) {
            return;
        }
        ++seen;
        EXPECT_TRUE(rows.contains(list->visualItemRect(list->topLevelItem(45))));
    };
    bed.extractAnswering(pressOk);
    EXPECT_GT(seen, 0);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(2));
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(2)});
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

// During a run the list must not change and no second run may start, by any way in: buttons,
// keys or drops. The buttons show it by being disabled; afterwards everything works again.
TEST_F(DuringARun, AddRemoveExtractAndDropsAreRefusedAndShownSo) {
    const QString extra = bed.writeFile("extra.flv");
    bed.form.CmdExtract->setFocus();
    bool dropOffered = true;
    qsizetype dialogsBefore = 0;
    auto pressKeys = [&] {
        ASSERT_TRUE(makeActive(bed.form));
        QTest::keyClick(bed.form.ListView1, Qt::Key_O, Qt::ControlModifier);
        bed.select({0, 1});
        QTest::keyClick(bed.form.ListView1, Qt::Key_Delete);
    };
    bed.pump.duringPump = [&](int call) {
        if (call != 3) {
            return;
        }
        for (QPushButton* button :
             {bed.form.CmdAdd, bed.form.CmdRemove, bed.form.CmdExtract, bed.form.CmdUpdate}) {
            EXPECT_EQ(button->isEnabled(), button == bed.form.CmdUpdate)
                << button->objectName().toStdString();
        }
        dialogsBefore = bed.openFileDialog.startFolders.size();
        bed.openFileDialog.answers.push_back({extra});
        pressKeys();
        std::unique_ptr<QMimeData> data(fileDrag({extra}));
        dropOffered = dragAndDrop(bed.form, *data);
    };
    EXPECT_EQ(bed.extractAnswering(pressOk), 1);
    EXPECT_FALSE(dropOffered);
    EXPECT_EQ(bed.openFileDialog.startFolders.size(), dialogsBefore);
    EXPECT_EQ(bed.rowTexts(), (QStringList{first, second}));
    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kFinished}));
    for (QPushButton* button : {bed.form.CmdAdd, bed.form.CmdRemove, bed.form.CmdExtract}) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_EQ(bed.form.focusWidget(), bed.form.CmdExtract) << "the focus comes back";

    // Once the run is over, the same keys work again.
    bed.pump.duringPump = nullptr;
    pressKeys();
    EXPECT_EQ(bed.rowTexts(), (QStringList{extra}));
}

// An older output is replaced only by a whole new one: on a re-run, a file that has become
// unreadable and a file whose reading is stopped with Esc keep the outputs of the run before.
TEST_F(DuringARun, ARerunThatCannotReadOrIsStoppedKeepsThePreviousOutputsExactly) {
    ASSERT_EQ(bed.extractAnswering(pressOk), 1);
    ASSERT_EQ(bed.statuses(), (QStringList{kFinished, kFinished}));
    const QByteArray firstMp3 = readAll(bed.path("first.mp3"));
    const QByteArray secondMp3 = readAll(bed.path("second.mp3"));
    bed.writeFile("first.flv", "no longer a video");
    int readingSecond = 0;
    bed.pump.duringPump = [&](int) {
        if (bed.statuses().value(1) == kExtracting && ++readingSecond == 3) {
            ASSERT_TRUE(makeActive(bed.form));
            QTest::keyClick(bed.form.ListView1, Qt::Key_Escape);
        }
    };
    bed.extractAnswering(pressOk);
    EXPECT_EQ(bed.statuses(), (QStringList{kReadError, kStopped}));
    EXPECT_EQ(readAll(bed.path("first.mp3")), firstMp3);
    EXPECT_EQ(readAll(bed.path("second.mp3")), secondMp3);
}

// Esc stops the run at the next tag; closing the window stops it the same way and then closes.
// The file being read ends as Stopped without any output, the files before it keep theirs, the
// files after it keep their status, the bar goes back to 0 and the buttons come back.
enum class StopBy { Escape, Close };

class StoppingARun : public DuringARun, public ::testing::WithParamInterface<StopBy> {};

TEST_P(StoppingARun, EndsTheRowBeingReadAsStoppedAndLeavesNoPartialOutput) {
    const QString third = bed.writeFile("third.flv", longMp3Flv());
    bed.addThroughDialog({third});
    int readingSecond = 0;
    bool closedAtOnce = false;
    bed.pump.duringPump = [&](int) {
        if (bed.statuses().value(1) != kExtracting || ++readingSecond != 3) {
            return;
        }
        if (GetParam() == StopBy::Escape) {
            ASSERT_TRUE(makeActive(bed.form));
            QTest::keyClick(bed.form.ListView1, Qt::Key_Escape);
        } else {
            closedAtOnce = bed.form.close();
        }
        EXPECT_TRUE(bed.form.isVisible()) << "the window waits for the run";
    };
    bed.extractAnswering(pressOk);
    ASSERT_EQ(readingSecond, 3) << "stopped at the next tag";
    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kStopped, kReady}));
    EXPECT_EQ(QDir(bed.folder.path()).entryList(QDir::Files),
              (QStringList{"first.flv", "first.mp3", "second.flv", "third.flv"}))
        << "no partial output, no temporary file";
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 0);
    EXPECT_TRUE(bed.form.CmdExtract->isEnabled());
    EXPECT_EQ(bed.form.ListView1->topLevelItem(1)->toolTip(1), second + "\n" + kStopped);

    QCoreApplication::processEvents();
    EXPECT_EQ(bed.form.isVisible(), GetParam() == StopBy::Escape);
    EXPECT_FALSE(closedAtOnce);
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppingARun, ::testing::Values(StopBy::Escape, StopBy::Close),
                         [](const auto& info) {
                             return info.param == StopBy::Escape ? "Escape" : "Close";
                         });

TEST(Extract, ClosingWithoutARunClosesAtOnce) {
    FormMainTestbed bed;
    bed.form.show();
    EXPECT_TRUE(bed.form.close());
    EXPECT_FALSE(bed.form.isVisible());
}

} // namespace
} // namespace quillon::uitest
