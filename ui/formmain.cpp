// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formmain.h"

#include "controls/progressbar/storedsettings.h"
#include "controls/progressbar/xp_progressbar.h"
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "platform/pathparts.h"
#include "ui/eventpump.h"
#include "ui/filelistview.h"
#include "ui/formpath.h"
#include "ui/messagebox.h"
#include "ui/nativepath.h"
#include "ui/openfiledialog.h"
#include "ui/pathtext.h"
#include "ui/productpage.h"
#include "ui/programicon.h"
#include "ui/skin.h"
#include "ui/webpageopener.h"
#include "ui/windowlook.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTreeWidget>
#include <QUrl>

namespace quillon::ui {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The local files a drag carries, as the system names them, or an empty list when it carries no
// file list at all.
QList<QByteArray> droppedPaths(const QMimeData* data) {
    QList<QByteArray> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            paths.append(nativePath(url));
        }
    }
    return paths;
}

// The main window is a frame to assistive technology, as a desktop's main windows are; a plain
// widget would pass for a filler inside some other window.
QAccessibleInterface* formMainAccessible(const QString& /*className*/, QObject* object) {
    auto* form = qobject_cast<FormMain*>(object);
    return form != nullptr ? new QAccessibleWidget(form, QAccessible::Window) : nullptr;
}

void installFormMainAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&formMainAccessible);
        return true;
    }();
    (void)installed;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

FormMain::FormMain(UiServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      services_(services), Skin1(new Skin(this)) {
    installFormMainAccessibility();
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(plainTitle());
    setWindowIcon(programIcon());
    setFont(windowFont());

    ListView1 = new FileListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(scaledRect(this, 4, 3, 577, 383));
    // Drops are handled here rather than by the view, which would treat them as item moves. The
    // header takes them like the rows below it.
    for (QWidget* target : dropTargets()) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this, &FormMain::showRowMenu);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int row = ListView1->indexOfTopLevelItem(item);
        commands_.run(Command::OpenOutput, [&] { openOutput(row); });
    });

    CmdAdd = makeButton(this, "CmdAdd", "&Add", scaledRect(this, 587, 12, 95, 25));
    CmdRemove = makeButton(this, "CmdRemove", "&Remove", scaledRect(this, 587, 46, 95, 25));
    CmdExtract = makeButton(this, "CmdExtract", "&Extract", scaledRect(this, 587, 81, 95, 25));
    CmdUpdate = makeButton(this, "CmdUpdate", "&Check Update", scaledRect(this, 587, 353, 95, 25));

    XP_ProgressBar1 = new controls::XP_ProgressBar(this);
    XP_ProgressBar1->setObjectName(QStringLiteral("XP_ProgressBar1"));
    XP_ProgressBar1->setAccessibleName(QStringLiteral("Progress of the file being read"));
    XP_ProgressBar1->ReadProperties(controls::mainWindowProgressBarSettings());
    XP_ProgressBar1->setGeometry(scaledRect(this, 2, 391, 691, 24));

    setTabOrder(ListView1, CmdAdd);
    setTabOrder(CmdAdd, CmdRemove);
    setTabOrder(CmdRemove, CmdExtract);
    setTabOrder(CmdExtract, CmdUpdate);
    setTabOrder(CmdUpdate, XP_ProgressBar1);

    setFixedSize(scaledSize(this, 695, 419));

    // Every command the user can give goes through the gate, which refuses what the window's
    // state does not allow and disables the buttons of what it refuses.
    commands_.bind(Command::Add, CmdAdd);
    commands_.bind(Command::Remove, CmdRemove);
    commands_.bind(Command::Extract, CmdExtract);
    const auto gated = [this](Command command, void (FormMain::*handler)()) {
        return [this, command, handler] { commands_.run(command, [&] { (this->*handler)(); }); };
    };
    connect(CmdAdd, &QPushButton::clicked, this, gated(Command::Add, &FormMain::addByDialog));
    connect(CmdRemove, &QPushButton::clicked, this,
            gated(Command::Remove, &FormMain::removeSelectedRows));
    connect(CmdExtract, &QPushButton::clicked, this, gated(Command::Extract, &FormMain::extract));
    connect(CmdUpdate, &QPushButton::clicked, this,
            gated(Command::CheckUpdate, &FormMain::OpenProductWebPage));
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            gated(Command::Add, &FormMain::addByDialog));
    connect(new QShortcut(QKeySequence::Delete, this), &QShortcut::activated, this,
            gated(Command::Remove, &FormMain::removeSelectedRows));
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            gated(Command::StopRun, &FormMain::stopRun));

    SkinForm(this);
}

FormMain::~FormMain() = default;

int FormMain::rowCount() const {
    return ListView1->topLevelItemCount();
}

std::string FormMain::rowText(int row) const {
    return ListView1->path(row - 1).toStdString();
}

void FormMain::setRowStatus(int row, engine::RowStatus status) {
    ListView1->setStatus(row - 1, toQString(engine::statusText(status)));
    if (status == engine::RowStatus::Extracting) {
        // Read again: what the row made before is not what it will show.
        ListView1->setOutput(row - 1, {});
        // The run has reached this row: bring it into view, leaving the user's selection alone.
        ListView1->scrollToItem(ListView1->topLevelItem(row - 1));
        setWindowTitle(QStringLiteral("Quillon \u2014 %1 of %2").arg(row).arg(rowCount()));
    }
}

void FormMain::setRowOutput(int row, const std::string& path) {
    ListView1->setOutput(row - 1, QByteArray::fromStdString(path));
}

engine::OutputChoice FormMain::showOutputFolderDialog() {
    if (formPath_ == nullptr) {
        formPath_ = new FormPath(services_.folderPicker, services_.files, services_.messages, this);
        SkinForm(formPath_);
    }
    return formPath_->showModal();
}

void FormMain::setProgress(int percent) {
    pendingProgress_ = percent;
    if (!commands_.runInProgress()) {
        applyProgress();
        return;
    }
    // During a run the value changes far more often than the screen is updated, and every set
    // redraws the whole bar. The screen changes only when events are handled, so the value is
    // applied then, once per pass; what the user sees is the same.
    if (!progressPosted_) {
        progressPosted_ = true;
        QMetaObject::invokeMethod(this, &FormMain::applyProgress, Qt::QueuedConnection);
    }
}

void FormMain::applyProgress() {
    progressPosted_ = false;
    if (XP_ProgressBar1->Value() != pendingProgress_) {
        XP_ProgressBar1->setValue(pendingProgress_);
    }
}

void FormMain::PumpMessages() {
    services_.pump.PumpMessages();
}

void FormMain::showNotice(engine::Notice notice) {
    services_.messages.showRunMessage(engine::noticeText(notice), "Quillon",
                                      MessageIcon::Information);
}

bool FormMain::stopRequested() const {
    // Once the display is gone nobody can answer anything: the run ends while it still can.
    return (run_ && run_->stopRequested) || services_.pump.windowSystemGone();
}

bool FormMain::eventsHandledWhileWaiting() {
    PumpMessages();
    return stopRequested();
}

bool FormMain::IsInList(const QByteArray& path) const {
    const int rows = ListView1->topLevelItemCount();
    for (int i = 0; i < rows; ++i) {
        // A row that cannot be read counts as a match, so nothing doubtful is added.
        if (ListView1->topLevelItem(i) == nullptr || ListView1->path(i) == path) {
            return true;
        }
    }
    return false;
}

void FormMain::SkinForm(QWidget* form) {
    Skin1->applyTo(form);
}

void FormMain::OpenProductWebPage() {
    // A build for which no homepage was set has no page to open.
    if (const QString page = productPageAddress(); !page.isEmpty()) {
        services_.webPages.openUrl(QUrl(page));
    }
}

void FormMain::addByDialog() {
    const QStringList selection = services_.openFileDialog.getOpenFileNames(this, LastFolder);
    if (selection.isEmpty()) {
        return;
    }
    if (selection.size() == 1) {
        const QString& path = selection.front();
        LastFolder = folderPart(path);
        if (!hasFlvExtension(path) || IsInList(nativePath(path))) {
            return;
        }
        ListView1->scrollToItem(appendRow(nativePath(path)));
        return;
    }
    // Several files: each one is listed, even one that is listed already, and the list repaints
    // as rows arrive.
    services_.pump.PumpMessages();
    QTreeWidgetItem* first = nullptr;
    for (const QString& path : selection) {
        LastFolder = folderPart(path);
        if (!hasFlvExtension(path)) {
            continue;
        }
        QTreeWidgetItem* added = appendRow(nativePath(path));
        first = first != nullptr ? first : added;
        services_.pump.PumpMessages();
    }
    if (first != nullptr) {
        ListView1->scrollToItem(first);
    }
}

void FormMain::removeSelectedRows() {
    if (ListView1->topLevelItemCount() == 0) {
        return;
    }
    for (int i = ListView1->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item != nullptr && item->isSelected()) {
            delete ListView1->takeTopLevelItem(i);
        }
    }
    ListView1->setFocus(Qt::OtherFocusReason);
}

void FormMain::extract() {
    // The run disables the button that started it; the keyboard focus goes back to it after.
    const QPointer<QWidget> focused = focusWidget();
    {
        CommandGate::RunScope scope(commands_);
        run_.emplace(RunInProgress{.stopRequested = false});
        const auto ended = qScopeGuard([this] { run_.reset(); });
        engine::ExtractionRun run(*this, services_.files);
        run.run();
    }
    setWindowTitle(plainTitle());
    applyProgress();
    if (focused != nullptr && focusWidget() != focused) {
        focused->setFocus(Qt::OtherFocusReason);
    }
    if (closeAfterRun_) {
        // The user closed the window while the run was still reading; it may close now.
        closeAfterRun_ = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

QTreeWidgetItem* FormMain::appendRow(const QByteArray& path) {
    return ListView1->appendFile(path, toQString(engine::statusText(engine::RowStatus::Ready)));
}

QString FormMain::plainTitle() const {
    return QStringLiteral("Quillon " QUILLON_VERSION);
}

void FormMain::openOutput(int row) {
    const QByteArray output = ListView1->output(row);
    if (!output.isEmpty()) {
        services_.webPages.openUrl(fileUrl(output));
    }
}

void FormMain::openOutputFolder(int row) {
    const QByteArray output = ListView1->output(row);
    if (!output.isEmpty()) {
        services_.webPages.openUrl(
            fileUrl(output.left(static_cast<qsizetype>(platform::nameStart(output)))));
    }
}

std::unique_ptr<QMenu> FormMain::rowMenu(int row) {
    QTreeWidgetItem* item = ListView1->topLevelItem(row);
    if (item == nullptr || !commands_.allows(Command::OpenOutput)) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    // Each action finds its row again when chosen, and runs only if the window still allows it.
    const auto onRow = [this, item](Command command, void (FormMain::*action)(int)) {
        return [this, item, command, action] {
            const int at = ListView1->indexOfTopLevelItem(item);
            if (at >= 0) {
                commands_.run(command, [&] { (this->*action)(at); });
            }
        };
    };
    if (!ListView1->output(row).isEmpty()) {
        menu->addAction(QStringLiteral("&Open"), this,
                        onRow(Command::OpenOutput, &FormMain::openOutput));
        menu->addAction(QStringLiteral("Open &Folder"), this,
                        onRow(Command::OpenOutput, &FormMain::openOutputFolder));
        menu->addSeparator();
    }
    menu->addAction(QStringLiteral("&Remove"), this, [this, item] {
        const int at = ListView1->indexOfTopLevelItem(item);
        if (at < 0) {
            return;
        }
        // The row the menu belongs to goes, with the rest of the selection if it is part of it.
        if (!item->isSelected()) {
            ListView1->clearSelection();
            item->setSelected(true);
        }
        commands_.run(Command::Remove, [this] { removeSelectedRows(); });
    });
    return menu;
}

void FormMain::showRowMenu(const QPoint& where) {
    QTreeWidgetItem* item = ListView1->itemAt(where);
    if (item == nullptr) {
        return;
    }
    if (const auto menu = rowMenu(ListView1->indexOfTopLevelItem(item))) {
        menu->exec(ListView1->viewport()->mapToGlobal(where));
    }
}

QList<QWidget*> FormMain::dropTargets() const {
    return {ListView1->viewport(), ListView1->header()->viewport()};
}

void FormMain::addFiles(const QList<QByteArray>& paths) {
    commands_.run(Command::DropFiles, [&] { listFiles(paths); });
}

void FormMain::listFiles(const QList<QByteArray>& paths) {
    services_.pump.PumpMessages();
    QTreeWidgetItem* first = nullptr;
    // Whatever ends the list, the rows it added come into view.
    const auto shown = qScopeGuard([&] {
        if (first != nullptr) {
            ListView1->scrollToItem(first);
        }
    });
    for (const QByteArray& path : paths) {
        const PathKind kind = pathKind(path);
        if (kind == PathKind::Missing) {
            // The item vanished between the drag and the drop: the rest of this drop is not
            // looked at, and what was added stays.
            return;
        }
        if (kind == PathKind::Folder || !hasFlvExtension(displayPath(path))) {
            continue;
        }
        if (!IsInList(path)) {
            QTreeWidgetItem* added = appendRow(path);
            first = first != nullptr ? first : added;
        }
        services_.pump.PumpMessages();
    }
}

void FormMain::stopRun() {
    // Read after each pump: the run stops at its next tag, removes its partial output and marks
    // the row it was reading Stopped; the rows after it keep their status.
    if (run_) {
        run_->stopRequested = true;
    }
}

void FormMain::closeOnRequest() {
    // A modal dialog would keep the window from closing. Each one is cancelled, and whatever
    // showed it goes on as after Cancel.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible()) {
            dialog->reject();
        }
    }
    close();
}

void FormMain::closeEvent(QCloseEvent* event) {
    if (commands_.runInProgress()) {
        // The run holds open files and reads rows by position: it is stopped as by Esc, and the
        // window closes once it has returned.
        stopRun();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void FormMain::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        centerOnScreen(this);
    }
    QWidget::showEvent(event);
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    // The list's widgets see every paint and mouse move; only drags and drops are looked at.
    const QEvent::Type type = event->type();
    const bool dragOrDrop =
        type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
    if (!dragOrDrop || !dropTargets().contains(qobject_cast<QWidget*>(watched))) {
        return QWidget::eventFilter(watched, event);
    }
    switch (type) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (commands_.allows(Command::DropFiles) && !droppedPaths(drag->mimeData()).isEmpty()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const bool taken =
            !droppedPaths(drop->mimeData()).isEmpty() && commands_.run(Command::DropFiles, [&] {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                listFiles(droppedPaths(drop->mimeData()));
            });
        if (!taken) {
            drop->ignore();
        }
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace quillon::ui
