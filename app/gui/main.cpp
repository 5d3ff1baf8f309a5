// SPDX-License-Identifier: GPL-3.0-or-later
// The Quillon window: a list of FLV files whose MP3 audio is written out next to them or into a
// chosen folder. FILEs on the command line are listed at start-up, as a drop of them would be.
#include "app/gui/guiarguments.h"
#include "platform/posixfilesystem.h"
#include "platform/stopsignals.h"
#include "ui/closeonstopsignal.h"
#include "ui/folderpickerdialog.h"
#include "ui/formmain.h"
#include "ui/openfiledialog.h"
#include "ui/programicon.h"
#include "ui/qteventpump.h"
#include "ui/qtmessagebox.h"
#include "ui/webpageopener.h"

#include <QApplication>
#include <cstdio>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
// Ended by a signal: the shell's own convention for a process ended by one.
constexpr int kExitSignalBase = 128;

} // namespace

int main(int argc, char* argv[]) {
    using quillon::gui::GuiArguments;
    const GuiArguments args = quillon::gui::parseGuiArguments({argv + 1, argv + argc});
    switch (args.action) {
    case GuiArguments::Action::Help:
        std::fputs(quillon::gui::kGuiUsage, stdout);
        return kExitOk;
    case GuiArguments::Action::Version:
        std::puts("quillon " QUILLON_VERSION);
        return kExitOk;
    case GuiArguments::Action::UsageError:
        std::fprintf(stderr, "quillon: %s\n%s", args.error.c_str(), quillon::gui::kGuiUsage);
        return kExitUsage;
    case GuiArguments::Action::Open:
        break;
    }

    // From here on a stop signal closes the window in order instead of ending the process
    // mid-file.
    const quillon::platform::StopSignals stopSignals;

    // Qt sees only the program's name: every other word is ours, so a FILE named like one of
    // Qt's own options (-style, -platform ...) is still a FILE.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUILLON_APP_ID));
    QApplication::setWindowIcon(quillon::ui::programIcon());

    quillon::ui::FormMain* shown = nullptr;
    // While a read waits for a slow source (a silent pipe), the window goes on handling its
    // events, and a stop reaches the file being read.
    quillon::platform::PosixFileSystem files(
        quillon::platform::PosixFileSystem::ReadMode::Mapped,
        [&shown] { return shown != nullptr && shown->eventsHandledWhileWaiting(); });
    quillon::ui::QtEventPump pump;
    quillon::ui::QtMessageBox messages;
    quillon::ui::QtOpenFileDialog openFileDialog;
    quillon::ui::DialogFolderPicker folderPicker;
    quillon::ui::DesktopWebPageOpener webPages;

    quillon::ui::FormMain window({files, pump, messages, openFileDialog, folderPicker, webPages});
    shown = &window;
    const quillon::ui::CloseOnStopSignal closeOnSignal(stopSignals, window);
    messages.setOwner(&window);
    window.addFiles(args.files);
    window.show();
    const int result = QApplication::exec();
    if (quillon::platform::StopSignals::received() != 0) {
        return kExitSignalBase + quillon::platform::StopSignals::received();
    }
    return result;
}
