// SPDX-License-Identifier: GPL-3.0-or-later
// Extracts one large FLV through the main window on the offscreen platform and measures how
// responsive the window stays: the longest stretch during the run in which no event was handled.
// A zero-interval timer fires each time Qt looks at its events, so the gaps between its firings
// are exactly the waits a click or a repaint could have suffered.
//   quillon-ui-bench FILE.flv OUTPUT-FOLDER QUILLON-CLI [RUNS]
#include "platform/posixfilesystem.h"
#include "ui/folderpicker.h"
#include "ui/formmain.h"
#include "ui/formpath.h"
#include "ui/messagebox.h"
#include "ui/openfiledialog.h"
#include "ui/qteventpump.h"
#include "ui/webpageopener.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

class OneFile final : public ui::OpenFileDialog {
public:
    explicit OneFile(QString path) : path_(std::move(path)) {}
    QStringList getOpenFileNames(QWidget*, const QString&) override { return {path_}; }

private:
    QString path_;
};

class FixedFolder final : public ui::FolderPicker {
public:
    explicit FixedFolder(QString folder) : folder_(std::move(folder)) {}
    QString BrowseForFolder(QWidget*, const QString&, const QString&) override { return folder_; }

private:
    QString folder_;
};

class CountingMessages final : public ui::MessageBox {
public:
    void showMessage(std::string_view, std::string_view, ui::MessageIcon) override { ++shown; }
    int shown = 0;
};

class NoBrowser final : public ui::WebPageOpener {
public:
    void openUrl(const QUrl&) override {}
};

struct RunFigures {
    double seconds = 0;
    double longestGapMs = 0;
    long handled = 0;
};

// One press of Extract, answered at once, timed from OK in the output folder dialog until the
// run returns.
RunFigures extractOnce(ui::FormMain& window) {
    RunFigures figures;
    Clock::time_point last{};
    Clock::time_point runStart{};
    bool measuring = false;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        ui::FormPath* dialog = window.formPath();
        if (dialog != nullptr && dialog->isVisible()) {
            // Outputs go where the command line's -o sends them, so both write the same file.
            if (!dialog->Option2->isChecked()) {
                dialog->Option2->click();
            }
            runStart = Clock::now();
            dialog->CmdOK->click();
            return;
        }
        if (!window.runInProgress()) {
            return;
        }
        if (measuring) {
            const double gap = std::chrono::duration<double, std::milli>(now - last).count();
            figures.longestGapMs = std::max(figures.longestGapMs, gap);
            ++figures.handled;
        }
        measuring = true;
        last = now;
    });
    heartbeat.start();
    window.CmdExtract->click();
    figures.seconds = std::chrono::duration<double>(Clock::now() - runStart).count();
    heartbeat.stop();
    return figures;
}

double cliOnce(const QString& cli, const QString& outputs, const QString& input) {
    const auto start = Clock::now();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(cli, {QStringLiteral("-o"), outputs, input});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "quillon-ui-bench: %s failed\n", qPrintable(cli));
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: quillon-ui-bench FILE.flv OUTPUT-FOLDER QUILLON-CLI [RUNS]\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString outputs = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const QString cli = QString::fromLocal8Bit(argv[3]);
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;

    platform::PosixFileSystem files;
    ui::QtEventPump pump;
    CountingMessages messages;
    OneFile dialog(input);
    FixedFolder picker(outputs);
    NoBrowser browser;
    ui::FormMain window({files, pump, messages, dialog, picker, browser});
    window.show();
    window.CmdAdd->click();

    // Warm-up: the file into the page cache, both programs once.
    extractOnce(window);
    cliOnce(cli, outputs, input);

    std::vector<double> windowSeconds;
    std::vector<double> cliSeconds;
    double longestGapMs = 0;
    long handled = 0;
    for (int i = 0; i < runs; ++i) {
        const RunFigures figures = extractOnce(window);
        windowSeconds.push_back(figures.seconds);
        longestGapMs = std::max(longestGapMs, figures.longestGapMs);
        handled += figures.handled;
        cliSeconds.push_back(cliOnce(cli, outputs, input));
    }
    const QString status = window.ListView1->topLevelItem(0)->text(1);
    const double windowMedian = median(windowSeconds);
    const double cliMedian = median(cliSeconds);
    std::printf("row status: %s\n", qPrintable(status));
    std::printf("longest gap between handled events: %.1f ms over %d runs (%ld event passes; "
                "target < 50 ms)\n",
                longestGapMs, runs, handled);
    std::printf(
        "median: window %.1f ms, quillon-cli %.1f ms; window / cli = %.3f (target <= 1.10)\n",
        windowMedian * 1000, cliMedian * 1000, windowMedian / cliMedian);
    return status == QLatin1String("Finished") ? 0 : 1;
}
