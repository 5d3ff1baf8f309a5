// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/eventpump.h"
#include "ui/folderpicker.h"
#include "ui/messagebox.h"
#include "ui/openfiledialog.h"
#include "ui/webpageopener.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillon::uitest {

// Answers the Add dialog from a queue; an empty queue answers "cancelled".
class AnsweringOpenFileDialog final : public ui::OpenFileDialog {
public:
    QStringList getOpenFileNames(QWidget* owner, const QString& startFolder) override;

    std::deque<QStringList> answers;
    QStringList startFolders; // one per showing
};

// Answers the folder picker from a queue; an empty queue answers "cancelled".
class AnsweringFolderPicker final : public ui::FolderPicker {
public:
    QString BrowseForFolder(QWidget* owner, const QString& title,
                            const QString& initialFolder) override;

    std::deque<QString> answers;
    QStringList titles;
    QStringList initialFolders;
};

struct ShownMessage {
    std::string text;
    std::string title;
    ui::MessageIcon icon;
};

class RecordingMessageBox final : public ui::MessageBox {
public:
    void showMessage(std::string_view text, std::string_view title, ui::MessageIcon icon) override;
    std::vector<ShownMessage> shown;
};

class RecordingWebPageOpener final : public ui::WebPageOpener {
public:
    void openUrl(const QUrl& url) override { opened.append(url); }
    QList<QUrl> opened;
};

// Handles Qt's pending events on every call, as the real pump does when its interval has passed,
// and first runs what the test wants done "by the user" at that moment.
class ScriptedPump final : public ui::EventPump {
public:
    void PumpMessages() override;
    bool windowSystemGone() const override { return gone; }

    std::function<void(int call)> duringPump;
    int calls = 0;
    // Set to act as a display that went away: nothing is handled any more.
    bool gone = false;
};

} // namespace quillon::uitest
