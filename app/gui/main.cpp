// SPDX-License-Identifier: GPL-3.0-or-later
// The Quillon window: a list of FLV files whose MP3 audio is written out next to them or into a
// chosen folder. FILEs on the command line are listed at start-up, as a drop of them would be.
#include "app/gui/guiarguments.h"
#include "app/gui/nodisplay.h"
#include "platform/posixfilesystem.h"
#include "platform/stopsignals.h"
#include "printablename.h"
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
#include <optional>

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
        std::fprintf(stderr, "quillon: %s\nTry 'quillon --help' for more information.\n",
                     args.error.c_str());
        return kExitUsage;
    case GuiArguments::Action::Open:
        break;
    }
    for (const auto& missing : args.notFound) {
        std::fprintf(stderr, "quillon: %s: %s\n", quillon::cli::printableName(missing.name).c_str(),
                     missing.reason.message().c_str());
    }
    if (quillon::gui::noDisplayNamed()) {
        quillon::gui::reportNoDisplay();
        return quillon::gui::kExitNoDisplay;
    }

    // From here on a stop signal closes the window in order instead of ending the process
    // mid-file.
    const quillon::platform::StopSignals stopSignals;

    // Qt sees only the program's name: every other word is ours, so a FILE named like one of
    // Qt's own options (-style, -platform ...) is still a FILE.
    int qtArgc = 1;
    std::optional<quillon::gui::NoDisplayExit> unreachableDisplay(std::in_place);
    QApplication app(qtArgc, argv);
    unreachableDisplay.reset();
    // Also the window's class on X11, which the desktop entry names as its StartupWMClass.
    QApplication::setApplicationName(QStringLiteral(QUILLON_WINDOW_CLASS));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUILLON_APP_ID));
    QApplication::setWindowIcon(quillon::ui::programIcon());

    quillon::ui::FormMain* shown = nullptr;
    // While a read waits for a slow source (a silent pipe), the window goes on handling its
    // events, and a stop reaches the file being read.
    quillon::platform::PosixFileSystem files(
        quillon::platform::PosixFileSystem::ReadMode::Fastest,
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
