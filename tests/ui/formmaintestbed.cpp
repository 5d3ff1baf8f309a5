// SPDX-License-Identifier: GPL-3.0-or-later
#include "formmaintestbed.h"

#include "ui/nativepath.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace quillon::uitest {

FormMainTestbed::FormMainTestbed(MessageBoxes boxes)
    : files(platform::PosixFileSystem::ReadMode::Fastest,
            [this] { return form.eventsHandledWhileWaiting(); }),
      form({files, pump,
            boxes == MessageBoxes::Shown ? static_cast<ui::MessageBox&>(shownMessages) : messages,
            openFileDialog, folderPicker, webPages}),
      savedCurrentDirectory_(QDir::currentPath()) {
    if (!folder.isValid()) {
        throw std::runtime_error("no temporary folder");
    }
    shownMessages.setOwner(&form);
}

FormMainTestbed::~FormMainTestbed() {
    QDir::setCurrent(savedCurrentDirectory_);
    // Qt passes over names it cannot decode and would leave them behind; the system's own
    // calls see every name.
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(folder.path()).toStdString(), ignored);
}

QStringList FormMainTestbed::rowTexts() const {
    QStringList texts;
    for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i) {
        texts.append(form.ListView1->topLevelItem(i)->text(0));
    }
    return texts;
}

QList<QByteArray> FormMainTestbed::rowPaths() const {
    QList<QByteArray> paths;
    for (int row = 1; row <= form.rowCount(); ++row) {
        paths.append(QByteArray::fromStdString(form.rowText(row)));
    }
    return paths;
}

QStringList FormMainTestbed::statuses() const {
    QStringList texts;
    for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i) {
        texts.append(form.ListView1->topLevelItem(i)->text(1));
    }
    return texts;
}

void FormMainTestbed::addThroughDialog(const QStringList& paths) {
    openFileDialog.answers.push_back(paths);
    form.CmdAdd->click();
}

int FormMainTestbed::extractAnswering(const std::function<void(ui::FormPath&)>& answer) {
    int showings = 0;
    // Polls until the modal dialog is up; it is answered from inside its own event loop.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ui::FormPath* dialog = form.formPath();
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        ++showings;
        if (answer) {
            answer(*dialog);
        }
        if (dialog->isVisible()) {
            dialog->CmdCancel->click();
        }
    });
    poll.start();
    form.CmdExtract->click();
    poll.stop();
    return showings;
}

void FormMainTestbed::select(std::initializer_list<int> rows) {
    form.ListView1->clearSelection();
    for (int row : rows) {
        form.ListView1->topLevelItem(row)->setSelected(true);
    }
}

QString FormMainTestbed::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + name.toStdString());
    }
    return file.fileName();
}

QString FormMainTestbed::copyFixture(const QString& fixtureName, const QString& name) const {
    return writeFile(name, readAll(fixture(fixtureName)));
}

QByteArray FormMainTestbed::writeNativeFile(const QByteArray& name, const QByteArray& bytes) const {
    const QByteArray path = QFile::encodeName(folder.path()) + '/' + name;
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.constData(), bytes.size());
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return path;
}

QString FormMainTestbed::makeFolder(const QString& name) const {
    QDir(folder.path()).mkpath(name);
    return path(name);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    return file.readAll();
}

QString fixture(const QString& name) {
    return QStringLiteral(QUILLON_FIXTURE_DIR "/") + name;
}

QByteArray expectedMp3Hash(const QString& fixtureName) {
    const QList<QByteArray> lines = readAll(fixture(QStringLiteral("expected.sha256"))).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 3 && fields[2] == fixtureName.toUtf8()) {
            return fields[0];
        }
    }
    throw std::runtime_error("no stored hash for " + fixtureName.toStdString());
}

bool dragAndDrop(ui::FormMain& form, const QMimeData& data, QWidget* target) {
    if (target == nullptr) {
        target = form.ListView1->viewport();
    }
    const QPoint where = target->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    const bool offered = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    QDropEvent drop(QPointF(where), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return offered;
}

QMimeData* fileDrag(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    data->setUrls(urls);
    return data;
}

QMimeData* fileDrag(const QList<QByteArray>& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QByteArray& path : paths) {
        urls.append(ui::fileUrl(path));
    }
    data->setUrls(urls);
    return data;
}

bool makeActive(QWidget& window) {
    return QTest::qWaitFor([&] {
        window.activateWindow();
        return QApplication::activeWindow() == &window;
    });
}

} // namespace quillon::uitest
