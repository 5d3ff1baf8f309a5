// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the pictures of the windows that the README shows: the main window halfway through a run
// and after it with a row's tooltip, the output folder dialog with AAC switched on, and the folder
// picker with a folder deep in the tree preselected. The finished batch is mixed: MP3, H.264 with
// AAC, video only and a broken download. Run under Xvfb by scripts/screenshots.sh:
//   quillon-screenshots SAMPLE.flv AAC.flv VIDEO-ONLY.flv OUTPUT-FOLDER
#include "controls/progressbar/xp_progressbar.h"
#include "platform/posixfilesystem.h"
#include "ui/folderpickerdialog.h"
#include "ui/formmain.h"
#include "ui/formpath.h"
#include "ui/openfiledialog.h"
#include "ui/programicon.h"
#include "ui/qteventpump.h"
#include "ui/qtmessagebox.h"
#include "ui/webpageopener.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

using namespace quillon;

class ListedFiles final : public ui::OpenFileDialog {
public:
    QStringList getOpenFileNames(QWidget*, const QString&) override { return files; }
    QStringList files;
};

class FixedFolder final : public ui::FolderPicker {
public:
    QString BrowseForFolder(QWidget*, const QString&, const QString&) override { return folder; }
    QString folder;
};

class NoBrowser final : public ui::WebPageOpener {
public:
    void openUrl(const QUrl&) override {}
};

// The real pump, with a look at the window each time events have been handled.
class WatchingPump final : public ui::EventPump {
public:
    void PumpMessages() override {
        inner_.PumpMessages();
        if (watch) {
            watch();
        }
    }
    std::function<void()> watch;

private:
    ui::QtEventPump inner_{std::chrono::milliseconds(0)};
};

bool save(const QPixmap& picture, const QString& path) {
    const bool ok = picture.save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}

bool save(QWidget* widget, const QString& path) {
    QCoreApplication::processEvents();
    return save(widget->grab(), path);
}

// Handles events until `done` holds or ten seconds have passed.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(10000)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The window as the screen shows it, with the tooltip standing over it: a tooltip is a window of
// its own, which a grab of the main window would leave out.
bool saveWithToolTip(QWidget* window, const QString& path) {
    QCoreApplication::processEvents();
    QRect area = window->frameGeometry();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            area = area.united(top->frameGeometry());
        }
    }
    return save(window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()),
                path);
}

// Shows the tooltip of a list row as hovering the mouse over it does.
void hover(ui::FileListView* list, int row, int x) {
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    const QPoint at(x, rect.center().y());
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &help);
}

// A folder five levels below the demonstration folder, among siblings at every level, so the
// tree has to load and expand a good deal before it is in view.
QString makeDeepFolder(const QDir& work) {
    const QString deep = QStringLiteral("Music archive/2009/Concerts/Autumn/Live at the Hall");
    for (const char* season : {"Spring", "Summer", "Winter"}) {
        work.mkpath(QStringLiteral("Music archive/2009/Concerts/") + QLatin1String(season));
    }
    for (int year = 2001; year <= 2012; ++year) {
        work.mkpath(QStringLiteral("Music archive/%1").arg(year));
    }
    for (int evening = 1; evening <= 24; ++evening) {
        work.mkpath(QStringLiteral("Music archive/2009/Concerts/Autumn/Evening %1")
                        .arg(evening, 2, 10, QLatin1Char('0')));
    }
    work.mkpath(deep + QStringLiteral("/First half"));
    work.mkpath(deep + QStringLiteral("/Second half"));
    return work.filePath(deep);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ui::programIcon());
    if (argc != 5) {
        std::fprintf(
            stderr, "usage: quillon-screenshots SAMPLE.flv AAC.flv VIDEO-ONLY.flv OUTPUT-FOLDER\n");
        return 2;
    }
    const QString sample = QString::fromLocal8Bit(argv[1]);
    const QString aacSample = QString::fromLocal8Bit(argv[2]);
    const QString videoOnly = QString::fromLocal8Bit(argv[3]);
    // Absolute: accepting a browsed folder makes it the current directory.
    const QDir outputs(QDir(QString::fromLocal8Bit(argv[4])).absolutePath());
    // A fixed, short folder name keeps the listed paths readable in the picture.
    QDir work(QDir::temp().filePath(QStringLiteral("quillon-demo")));
    work.removeRecursively();
    if (!work.mkpath(QStringLiteral(".")) || !QFile::exists(sample) || !QFile::exists(aacSample) ||
        !QFile::exists(videoOnly)) {
        std::fprintf(stderr, "quillon-screenshots: no samples or no temporary folder\n");
        return 1;
    }
    // The output dialog's options start unticked, whatever the user's own settings say.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.absolutePath());

    // A list as a user might build it: the MP3 sample under several names, an interview with
    // H.264 video and AAC audio, and a trailer without sound.
    ListedFiles listed;
    work.mkpath(QStringLiteral("Videos/Lectures"));
    work.mkpath(QStringLiteral("Music out"));
    const std::pair<const char*, const QString&> lectures[] = {
        {"Lecture 01 - Introduction.flv", sample}, {"Lecture 02 - Sampling.flv", sample},
        {"Lecture 03 - Filters.flv", sample},      {"Lecture 04 - Codecs.flv", sample},
        {"Lecture 05 - Containers.flv", sample},   {"Interview (extended).flv", aacSample},
        {"Trailer (no sound).flv", videoOnly}};
    for (const auto& [name, source] : lectures) {
        const QString path =
            work.filePath(QStringLiteral("Videos/Lectures/") + QLatin1String(name));
        QFile::copy(source, path);
        listed.files.append(path);
    }
    // One upload that broke on its way: the run can not read it.
    const QString broken = work.filePath(QStringLiteral("Videos/Lectures/Lecture 06 - Review.flv"));
    QFile brokenFile(broken);
    if (brokenFile.open(QIODevice::WriteOnly)) {
        brokenFile.write("<html>Bad gateway</html>");
        brokenFile.close();
    }
    listed.files.append(broken);
    FixedFolder picker;
    picker.folder = work.filePath(QStringLiteral("Music out"));

    platform::PosixFileSystem files;
    WatchingPump pump;
    ui::QtMessageBox messages;
    NoBrowser browser;
    ui::FormMain window({files, pump, messages, listed, picker, browser});
    messages.setOwner(&window);
    window.show();
    window.CmdAdd->click();

    bool ok = true;
    bool runShot = false;
    pump.watch = [&] {
        // Halfway through the third file: two finished rows, one being read, the rest waiting.
        // The bar shows the previous file's 100 until the new file's first progress step.
        const int value = window.XP_ProgressBar1->Value();
        if (!runShot &&
            window.ListView1->topLevelItem(2)->text(1) == QLatin1String("Extracting...") &&
            value >= 45 && value <= 60) {
            runShot = true;
            ok = save(&window, outputs.filePath(QStringLiteral("main-window.png"))) && ok;
        }
    };

    bool dialogShot = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ui::FormPath* dialog = window.formPath();
        if (dialog == nullptr || !dialog->isVisible() || dialogShot) {
            return;
        }
        dialogShot = true;
        dialog->Option2->click();
        dialog->ChkAac->click();
        ok = save(dialog, outputs.filePath(QStringLiteral("output-path.png"))) && ok;
        dialog->CmdOK->click();
    });
    poll.start();
    window.CmdExtract->click();
    poll.stop();

    // The finished run, the mouse over the row that could not be read.
    const int brokenRow = window.ListView1->topLevelItemCount() - 1;
    hover(window.ListView1, brokenRow, 120);
    const bool tipShown = waitFor([] {
        const auto tops = QApplication::topLevelWidgets();
        return std::any_of(tops.begin(), tops.end(),
                           [](QWidget* w) { return w->inherits("QTipLabel") && w->isVisible(); });
    });
    ok = tipShown &&
         saveWithToolTip(&window, outputs.filePath(QStringLiteral("finished-run.png"))) && ok;
    QToolTip::hideText();

    const QString deep = makeDeepFolder(work);
    ui::FolderPickerDialog folderPicker(QStringLiteral("Please select the output folder."), deep,
                                        window.formPath());
    folderPicker.show();
    // Shown once the folder's branch has loaded and the tree has settled around it.
    QTreeView* tree = folderPicker.tree();
    const bool settled = waitFor([&] {
        const QModelIndex selected = tree->selectionModel()->selectedRows().value(0);
        return selected.isValid() && tree->model()->rowCount(selected.parent()) == 25 &&
               tree->model()->rowCount(selected) == 2 &&
               tree->viewport()->rect().contains(tree->visualRect(selected));
    });
    ok =
        settled && save(&folderPicker, outputs.filePath(QStringLiteral("folder-picker.png"))) && ok;

    work.removeRecursively();
    if (!runShot || !dialogShot) {
        std::fprintf(stderr, "quillon-screenshots: the run went by without a picture\n");
        return 1;
    }
    return ok ? 0 : 1;
}
