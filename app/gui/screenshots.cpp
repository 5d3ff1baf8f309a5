// Takes the pictures of the windows that the README shows: the main window halfway through a run
// and the output folder dialog. Run under Xvfb by scripts/screenshots.sh:
//   quillon-screenshots SAMPLE.flv OUTPUT-FOLDER
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
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

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

bool save(QWidget* widget, const QString& path) {
    QCoreApplication::processEvents();
    const bool ok = widget->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ui::programIcon());
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon-screenshots SAMPLE.flv OUTPUT-FOLDER\n");
        return 2;
    }
    const QString sample = QString::fromLocal8Bit(argv[1]);
    // Absolute: accepting a browsed folder makes it the current directory.
    const QDir outputs(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
    // A fixed, short folder name keeps the listed paths readable in the picture.
    QDir work(QDir::temp().filePath(QStringLiteral("quillon-demo")));
    work.removeRecursively();
    if (!work.mkpath(QStringLiteral(".")) || !QFile::exists(sample)) {
        std::fprintf(stderr, "quillon-screenshots: no sample or no temporary folder\n");
        return 1;
    }

    // A list as a user might build it; every file is the sample under another name.
    ListedFiles listed;
    work.mkpath(QStringLiteral("Videos/Lectures"));
    work.mkpath(QStringLiteral("Music out"));
    for (const char* name :
         {"Lecture 01 - Introduction.flv", "Lecture 02 - Sampling.flv", "Lecture 03 - Filters.flv",
          "Lecture 04 - Codecs.flv", "Lecture 05 - Containers.flv", "Interview (extended).flv"}) {
        const QString path =
            work.filePath(QStringLiteral("Videos/Lectures/") + QLatin1String(name));
        QFile::copy(sample, path);
        listed.files.append(path);
    }
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
        ok = save(dialog, outputs.filePath(QStringLiteral("output-path.png"))) && ok;
        dialog->CmdOK->click();
    });
    poll.start();
    window.CmdExtract->click();
    poll.stop();

    ui::FolderPickerDialog folderPicker(QStringLiteral("Please select the output folder."),
                                        picker.folder, &window);
    folderPicker.show();
    ok = save(&folderPicker, outputs.filePath(QStringLiteral("folder-picker.png"))) && ok;

    work.removeRecursively();
    if (!runShot || !dialogShot) {
        std::fprintf(stderr, "quillon-screenshots: the run went by without a picture\n");
        return 1;
    }
    return ok ? 0 : 1;
}
