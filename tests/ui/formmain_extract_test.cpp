// SPDX-License-Identifier: GPL-3.0-or-later
// Extract pressed in the window: the engine's run over real files, driven through the window.
#include "controls/progressbar/xp_progressbar.h"
#include "flvbuilder.h"
#include "formmaintestbed.h"
#include "platform/stopsignals.h"
#include "ui/closeonstopsignal.h"
#include "ui/nativepath.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>
#include <qpa/qwindowsysteminterface.h>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quillon::uitest {
namespace {

// The words the user reads, as they stand.
const QString kFinished = QStringLiteral("Finished");
const QString kReadError = QStringLiteral("Error: Can not read the flv file");
const QString kWriteError = QStringLiteral("Error: Can not write the mp3 file");
const QString kReady = QStringLiteral("Ready");
const QString kExtracting = QStringLiteral("Extracting...");
const QString kStopped = QStringLiteral("Stopped");

QByteArray sha256Of(const QString& path) {
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex();
}

// The same for a file whose name is in the system's bytes.
QByteArray sha256OfNative(const QByteArray& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex();
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

constexpr int kMp3Audio = 0x2F;
constexpr int kAacAudio = 0xAF;

// An FLV of many small audio tags: long enough for the run to pump events many times.
QByteArray longFlv(int tags = 600, int audioHeader = kMp3Audio) {
    auto builder = testing::FlvBuilder::start();
    for (int i = 0; i < tags; ++i) {
        builder.audio(audioHeader, testing::pattern(200, i));
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

QStringList menuTexts(ui::FormMain& form, int row) {
    QStringList texts;
    const std::unique_ptr<QMenu> menu = form.rowMenu(row);
    for (const QAction* action : menu->actions()) {
        texts.append(action->text());
    }
    return texts;
}

void chooseFromMenu(ui::FormMain& form, int row, const QString& text) {
    const std::unique_ptr<QMenu> menu = form.rowMenu(row);
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no " << text.toStdString() << " in the menu of row " << row;
}

TEST(Extract, WholeRunWritesEachOutputNextToItsInput) {
    FormMainTestbed bed;
    const QString one = bed.copyFixture("mp3-only.flv", "one.flv");
    const QString broken = bed.writeFile("broken.flv", "this is not a video");
    bed.makeFolder("sub dir");
    const QString two = bed.copyFixture("mp3-video.flv", "sub dir/zwei ü.flv");
    const QString aac = bed.copyFixture("aac.flv", "aac.flv");
    bed.addThroughDialog({one, broken, two, aac});
    // A name that is not UTF-8 (Latin-1 "café"), as a drop or the command line brings it.
    const QByteArray latin1 = bed.writeNativeFile("caf\xE9.flv", readAll(fixture("mp3-only.flv")));
    bed.form.addFiles({latin1});
    bed.form.show();

    std::set<QString> statusesSeen;
    std::set<QString> titlesSeen;
    QObject::connect(&bed.form, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titlesSeen.insert(title); });
    int highestProgress = 0;
    bed.pump.duringPump = [&](int) {
        for (const QString& status : bed.statuses()) {
            statusesSeen.insert(status);
        }
        highestProgress = std::max(highestProgress, bed.form.XP_ProgressBar1->Value());
    };
    EXPECT_EQ(bed.extractAnswering(pressOk), 1);

    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kReadError, kFinished,
                                           QStringLiteral("Skipped: AAC audio"), kFinished}));
    EXPECT_EQ(sha256Of(bed.path("one.mp3")), expectedMp3Hash("mp3-only.flv"));
    EXPECT_EQ(sha256Of(bed.path("sub dir/zwei ü.mp3")), expectedMp3Hash("mp3-video.flv"));
    EXPECT_FALSE(QFile::exists(bed.path("aac.mp3")));
    const QByteArray latin1Output = latin1.chopped(4) + ".mp3";
    EXPECT_EQ(sha256OfNative(latin1Output), expectedMp3Hash("mp3-only.flv"))
        << "named byte for byte after its input";
    EXPECT_EQ(bed.rowTexts().back(), bed.path(QStringLiteral("caf\uFFFD.flv"))) << "shown readably";

    ASSERT_EQ(bed.messages.shown.size(), 1u);
    EXPECT_EQ(bed.messages.shown[0].text, "Can not get audio data");
    EXPECT_EQ(bed.messages.shown[0].icon, ui::MessageIcon::Information);

    EXPECT_TRUE(statusesSeen.count(kExtracting));
    // The title counts the files through the batch, and is the plain one again after it.
    for (int row = 1; row <= 5; ++row) {
        EXPECT_TRUE(titlesSeen.count(QStringLiteral("Quillon \u2014 %1 of 5").arg(row))) << row;
    }
    EXPECT_EQ(bed.form.windowTitle(), "Quillon 1.04");
    EXPECT_GT(highestProgress, 50) << "the bar follows each file's read percentage";
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 0) << "and goes back to 0 at the end";
    EXPECT_FALSE(bed.form.runInProgress());

    // What a row made can be opened from its menu or by a double-click; a row that made no
    // output offers only its removal.
    const QStringList opens{"&Open", "Open &Folder", "", "&Remove"};
    const QStringList removes{"&Remove"};
    EXPECT_EQ(menuTexts(bed.form, 0), opens);
    EXPECT_EQ(menuTexts(bed.form, 1), removes);
    EXPECT_EQ(menuTexts(bed.form, 2), opens);
    EXPECT_EQ(menuTexts(bed.form, 3), removes);
    EXPECT_EQ(menuTexts(bed.form, 4), opens);
    chooseFromMenu(bed.form, 4, "&Open");
    chooseFromMenu(bed.form, 0, "Open &Folder");
    QTreeWidget* list = bed.form.ListView1;
    for (int row : {2, 1, 3}) {
        // A double-click as the system delivers it: a click, then the second press.
        const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }
    ASSERT_EQ(bed.webPages.opened.size(), 3);
    EXPECT_EQ(ui::nativePath(bed.webPages.opened[0]), latin1Output);
    EXPECT_EQ(bed.webPages.opened[1].toLocalFile(), bed.folder.path() + "/");
    EXPECT_EQ(bed.webPages.opened[2].toLocalFile(), bed.path("sub dir/zwei ü.mp3"));
    chooseFromMenu(bed.form, 1, "&Remove");
    EXPECT_EQ(bed.rowTexts(), (QStringList{one, two, aac, bed.rowTexts().value(3)}));
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
        paths.append(i == 45 ? bed.writeFile("long.flv", longFlv())
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
    explicit DuringARun(
        FormMainTestbed::MessageBoxes boxes = FormMainTestbed::MessageBoxes::Recorded)
        : bed(boxes) {}
    void SetUp() override {
        first = bed.writeFile("first.flv", longFlv());
        second = bed.writeFile("second.flv", longFlv());
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
        EXPECT_EQ(bed.form.rowMenu(0), nullptr) << "no row menu during a run";
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

// Esc stops the run at the next tag; so do closing the window (also while the run shows a
// message), a stop signal and a display that goes away, after which the window closes. The file
// being read ends as Stopped without any output, the files before it keep theirs, the files after
// it keep their status, the bar goes back to 0, the buttons come back, and the next run is a
// whole run again.
enum class StopBy { Escape, Close, CloseDuringAMessage, Signal, LostDisplay };
enum class SecondFile {
    Mp3,
    NotMp3,     // its first audio tag is AAC: the run shows a message
    SilentPipe, // a pipe whose writer sends one tag and then nothing
};

struct StopCase {
    const char* name;
    StopBy by;
    SecondFile second;
    bool windowCloses;
};

void PrintTo(const StopCase& c, std::ostream* out) {
    *out << c.name;
}

// The writer of a pipe: sends `bytes` at once, then holds the pipe open and says nothing, until it
// is let go or five seconds have passed (so a run that never stops still ends).
class SilentWriter {
public:
    SilentWriter(const QString& fifo, const QByteArray& bytes)
        // Open for reading too, so the open does not wait for the run to come to the pipe.
        : fd_(::open(QFile::encodeName(fifo).constData(), O_RDWR)) {
        if (fd_ >= 0) {
            (void)!::write(fd_, bytes.constData(), std::size_t(bytes.size()));
        }
        thread_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            released_.wait_for(lock, std::chrono::seconds(5), [this] { return letGo_; });
            ::close(fd_);
        });
    }
    ~SilentWriter() {
        {
            const std::lock_guard lock(mutex_);
            letGo_ = true;
        }
        released_.notify_all();
        thread_.join();
    }
    SilentWriter(const SilentWriter&) = delete;
    SilentWriter& operator=(const SilentWriter&) = delete;

private:
    int fd_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool letGo_ = false;
    std::thread thread_;
};

class StoppingARun : public DuringARun, public ::testing::WithParamInterface<StopCase> {
protected:
    StoppingARun()
        : DuringARun(GetParam().by == StopBy::CloseDuringAMessage
                         ? FormMainTestbed::MessageBoxes::Shown
                         : FormMainTestbed::MessageBoxes::Recorded) {}
};

TEST_P(StoppingARun, EndsTheRowBeingReadAsStoppedAndLeavesNoPartialOutput) {
    const StopCase& stop = GetParam();
    const QString third = bed.writeFile("third.flv", longFlv());
    bed.addThroughDialog({third});
    std::unique_ptr<SilentWriter> writer;
    switch (stop.second) {
    case SecondFile::Mp3:
        break;
    case SecondFile::NotMp3:
        bed.writeFile("second.flv", longFlv(600, kAacAudio));
        break;
    case SecondFile::SilentPipe:
        ASSERT_TRUE(QFile::remove(second));
        ASSERT_EQ(::mkfifo(second.toLocal8Bit().constData(), 0600), 0);
        // The file header and one whole audio tag, then silence.
        writer = std::make_unique<SilentWriter>(second, longFlv().left(13 + 11 + 201 + 4));
        break;
    }
    std::optional<platform::StopSignals> stopSignals;
    std::optional<ui::CloseOnStopSignal> closeOnSignal;
    if (stop.by == StopBy::Signal) {
        stopSignals.emplace();
        closeOnSignal.emplace(*stopSignals, bed.form);
    }

    QString titleWhileStopped;
    bool acted = false;
    const auto act = [&] {
        acted = true;
        titleWhileStopped = bed.form.windowTitle();
        switch (stop.by) {
        case StopBy::Escape:
            ASSERT_TRUE(makeActive(bed.form));
            QTest::keyClick(bed.form.ListView1, Qt::Key_Escape);
            break;
        case StopBy::Close:
        case StopBy::CloseDuringAMessage:
            // As the window's close box asks: through the window system.
            QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
                bed.form.windowHandle());
            break;
        case StopBy::Signal:
            std::raise(SIGTERM);
            break;
        case StopBy::LostDisplay:
            bed.pump.gone = true;
            break;
        }
    };
    int readingSecond = 0;
    bed.pump.duringPump = [&](int) {
        if (stop.by == StopBy::CloseDuringAMessage || bed.statuses().value(1) != kExtracting ||
            ++readingSecond != 3) {
            return;
        }
        act();
        EXPECT_TRUE(bed.form.isVisible()) << "the window waits for the run";
    };
    // The message is answered only if the close did not take it away.
    int pollsWithAMessage = 0;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* top : tops) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (box == nullptr || !box->isVisible()) {
                continue;
            }
            if (++pollsWithAMessage == 1) {
                act();
            } else if (pollsWithAMessage > 100) {
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    poll.start();
    bed.extractAnswering(pressOk);
    poll.stop();
    writer.reset();

    ASSERT_TRUE(acted);
    if (stop.by != StopBy::CloseDuringAMessage) {
        EXPECT_EQ(readingSecond, 3) << "stopped at the next tag";
    }
    EXPECT_EQ(titleWhileStopped, QStringLiteral("Quillon \u2014 2 of 3"));
    EXPECT_EQ(bed.form.windowTitle(), "Quillon 1.04");
    EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kStopped, kReady}));
    EXPECT_EQ(
        QDir(bed.folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
        (QStringList{"first.flv", "first.mp3", "second.flv", "third.flv"}))
        << "no partial output, no temporary file";
    EXPECT_EQ(bed.form.XP_ProgressBar1->Value(), 0);
    EXPECT_TRUE(bed.form.CmdExtract->isEnabled());
    EXPECT_EQ(bed.form.ListView1->topLevelItem(1)->toolTip(1), second + "\n" + kStopped);

    QCoreApplication::processEvents();
    EXPECT_EQ(bed.form.isVisible(), !stop.windowCloses);

    if (stop.second == SecondFile::Mp3) {
        // The stop went with its run: the next one reads every file.
        bed.pump.gone = false;
        bed.pump.duringPump = nullptr;
        bed.extractAnswering(pressOk);
        EXPECT_EQ(bed.statuses(), (QStringList{kFinished, kFinished, kFinished}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, StoppingARun,
    ::testing::Values(
        StopCase{"Escape", StopBy::Escape, SecondFile::Mp3, false},
        StopCase{"Close", StopBy::Close, SecondFile::Mp3, true},
        StopCase{"CloseDuringAMessage", StopBy::CloseDuringAMessage, SecondFile::NotMp3, true},
        StopCase{"StopSignal", StopBy::Signal, SecondFile::Mp3, true},
        StopCase{"LostDisplay", StopBy::LostDisplay, SecondFile::Mp3, false},
        StopCase{"EscapeWhileAPipeIsSilent", StopBy::Escape, SecondFile::SilentPipe, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A stop signal while a dialog is up (here the output folder dialog) cancels the dialog, which
// would otherwise hold the window open until someone answered it, and the window closes.
TEST_F(DuringARun, AStopSignalCancelsTheDialogShownAndCloses) {
    platform::StopSignals stopSignals;
    ui::CloseOnStopSignal closeOnSignal(stopSignals, bed.form);
    bool dialogCancelled = false;
    bed.extractAnswering([&](ui::FormPath& dialog) {
        std::raise(SIGTERM);
        QCoreApplication::processEvents();
        dialogCancelled = !dialog.isVisible();
    });
    EXPECT_TRUE(dialogCancelled);
    EXPECT_EQ(bed.statuses(), (QStringList{kReady, kReady}));
    EXPECT_FALSE(QFile::exists(bed.path("first.mp3")));
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
