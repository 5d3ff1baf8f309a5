// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formmain.h"

#include "controls/progressbar/storedsettings.h"
#include "controls/progressbar/xp_progressbar.h"
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "ui/eventpump.h"
#include "ui/filelistview.h"
#include "ui/formpath.h"
#include "ui/messagebox.h"
#include "ui/openfiledialog.h"
#include "ui/pathtext.h"
#include "ui/productpage.h"
#include "ui/programicon.h"
#include "ui/skin.h"
#include "ui/webpageopener.h"
#include "ui/windowlook.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QUrl>

namespace quillon::ui {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The local files a drag carries, or an empty list when it carries no file list at all.
QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
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
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Quillon " QUILLON_VERSION));
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
    const QTreeWidgetItem* item = ListView1->topLevelItem(row - 1);
    return item != nullptr ? QFile::encodeName(item->text(0)).toStdString() : std::string();
}

void FormMain::setRowStatus(int row, engine::RowStatus status) {
    ListView1->setStatus(row - 1, toQString(engine::statusText(status)));
    if (status == engine::RowStatus::Extracting) {
        // The run has reached this row: bring it into view, leaving the user's selection alone.
        ListView1->scrollToItem(ListView1->topLevelItem(row - 1));
    }
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
    services_.messages.showMessage(engine::noticeText(notice), "Quillon", MessageIcon::Information);
}

bool FormMain::stopRequested() const {
    return stopRequested_;
}

bool FormMain::IsInList(const QString& path) const {
    const int rows = ListView1->topLevelItemCount();
    for (int i = 0; i < rows; ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        // A row that cannot be read counts as a match, so nothing doubtful is added.
        if (item == nullptr || item->text(0) == path) {
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
        if (!hasFlvExtension(path) || IsInList(path)) {
            return;
        }
        appendRow(path);
        return;
    }
    // Several files: each one is listed, even one that is listed already, and the list repaints
    // as rows arrive.
    services_.pump.PumpMessages();
    for (const QString& path : selection) {
        LastFolder = folderPart(path);
        if (!hasFlvExtension(path)) {
            continue;
        }
        appendRow(path);
        services_.pump.PumpMessages();
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
        stopRequested_ = false;
        engine::ExtractionRun run(*this, services_.files);
        run.run();
    }
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

void FormMain::appendRow(const QString& path) {
    ListView1->appendFile(path, toQString(engine::statusText(engine::RowStatus::Ready)));
}

QList<QWidget*> FormMain::dropTargets() const {
    return {ListView1->viewport(), ListView1->header()->viewport()};
}

void FormMain::addFiles(const QStringList& paths) {
    commands_.run(Command::DropFiles, [&] { listFiles(paths); });
}

void FormMain::listFiles(const QStringList& paths) {
    services_.pump.PumpMessages();
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            // The item vanished between the drag and the drop: the rest of this drop is not
            // looked at, and what was added stays.
            return;
        }
        if (info.isDir() || !hasFlvExtension(path)) {
            continue;
        }
        if (!IsInList(path)) {
            appendRow(path);
        }
        services_.pump.PumpMessages();
    }
}

void FormMain::stopRun() {
    // Read after each pump: the run stops at its next tag, removes its partial output and marks
    // the row it was reading Stopped; the rows after it keep their status.
    stopRequested_ = true;
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
