// The Quillon window: a list of FLV files whose MP3 audio is written out next to them or into a
// chosen folder.
#include "platform/posixfilesystem.h"
#include "ui/folderpickerdialog.h"
#include "ui/formmain.h"
#include "ui/openfiledialog.h"
#include "ui/programicon.h"
#include "ui/qteventpump.h"
#include "ui/qtmessagebox.h"
#include "ui/webpageopener.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral("1.04"));
    QApplication::setWindowIcon(quillon::ui::programIcon());

    quillon::platform::PosixFileSystem files;
    quillon::ui::QtEventPump pump;
    quillon::ui::QtMessageBox messages;
    quillon::ui::QtOpenFileDialog openFileDialog;
    quillon::ui::DialogFolderPicker folderPicker;
    quillon::ui::DesktopWebPageOpener webPages;

    quillon::ui::FormMain window({files, pump, messages, openFileDialog, folderPicker, webPages});
    messages.setOwner(&window);
    window.show();
    return QApplication::exec();
}
