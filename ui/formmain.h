// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "ui/commandgate.h"
#include "ui/filelistview.h"
#include "ui/uiservices.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

class QMenu;
class QPushButton;

namespace quillon::controls {
class XP_ProgressBar;
}

namespace quillon::ui {

class FormPath;
class Skin;

// The main window: the list of FLV files with their statuses, the buttons that fill it and start
// a run, and the progress bar of the file being read. The run itself is the engine's; this
// window is its host, and keeps the list, the buttons and drops from changing under it.
class FormMain final : public QWidget, public engine::RunHost {
    Q_OBJECT
public:
    explicit FormMain(UiServices services, QWidget* parent = nullptr);
    ~FormMain() override;

    // The run's view of the list and the window.
    int rowCount() const override;
    std::string rowText(int row) const override;
    void setRowStatus(int row, engine::RowStatus status) override;
    void setRowOutput(int row, const std::string& path) override;
    engine::OutputChoice showOutputFolderDialog() override;
    void setProgress(int percent) override;
    void PumpMessages() override;
    void showNotice(engine::Notice notice) override;
    bool stopRequested() const override;

    // For the file layer while it waits for a slow source (a silent pipe): handles the window's
    // events, so it repaints and takes Esc, and says whether the run is to stop.
    bool eventsHandledWhileWaiting();

    // Lists the files as a drop of them would: existing files with the .flv extension that are
    // not listed yet, folders skipped; a path that does not exist ends the list there. Paths are
    // as the system names them (any bytes). The program's own command line comes this way too.
    // Refused, like a drop, during a run.
    void addFiles(const QList<QByteArray>& paths);
    // True when some row's path is exactly `path` (byte for byte, so case-sensitive).
    bool IsInList(const QByteArray& path) const;
    // Gives a window of this program the application's look.
    void SkinForm(QWidget* form);
    void OpenProductWebPage();

    // Closes the window as its close box would, for a reason outside it (a stop signal): the
    // dialogs it shows are cancelled first, a run is stopped at its next tag, and the window
    // closes once nothing is left open.
    void closeOnRequest();

    // The menu of row `row` (from 0): open its output or the output's folder (when it made one)
    // and remove it; null during a run.
    std::unique_ptr<QMenu> rowMenu(int row);

    // The folder of the last selection confirmed in the Add dialog; where the next one starts.
    const QString& lastFolder() const { return LastFolder; }
    bool runInProgress() const { return commands_.runInProgress(); }
    // The output folder dialog, or null before the first Extract that showed it.
    FormPath* formPath() const { return formPath_; }

    FileListView* ListView1;
    QPushButton* CmdAdd;
    QPushButton* CmdRemove;
    QPushButton* CmdExtract;
    QPushButton* CmdUpdate;
    controls::XP_ProgressBar* XP_ProgressBar1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What belongs to one run: made when Extract starts it and gone when it returns, so nothing
    // of it, a stop least of all, reaches the next run.
    struct RunInProgress {
        bool stopRequested;
    };

    // The commands' own work; they run only through the command gate.
    void addByDialog();
    void removeSelectedRows();
    void extract();
    void stopRun();

    void listFiles(const QList<QByteArray>& paths);
    QTreeWidgetItem* appendRow(const QByteArray& path);
    void openOutput(int row);
    void openOutputFolder(int row);
    void showRowMenu(const QPoint& where);
    // The widgets that take dropped files: the list's rows and its header.
    QList<QWidget*> dropTargets() const;
    void applyProgress();
    QString plainTitle() const;

    UiServices services_;
    Skin* Skin1;
    FormPath* formPath_ = nullptr;
    QString LastFolder;
    CommandGate commands_;
    std::optional<RunInProgress> run_;
    bool closeAfterRun_ = false;
    int pendingProgress_ = 0;
    bool progressPosted_ = false;
    bool placed_ = false;
};

} // namespace quillon::ui
