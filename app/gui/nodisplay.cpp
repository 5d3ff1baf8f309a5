// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/nodisplay.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace quillon::gui {

namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt's fatal message for a platform it cannot start ends in abort(); this one ends the program
// with a status the manual page lists. Other messages are printed as Qt would print them.
void exitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    reportNoDisplay();
    std::_Exit(kExitNoDisplay);
}

} // namespace

bool noDisplayNamed() {
    return !named("DISPLAY") && !named("WAYLAND_DISPLAY") && !named("QT_QPA_PLATFORM");
}

void reportNoDisplay() {
    std::fputs("quillon: no display; use quillon-cli\n", stderr);
}

NoDisplayExit::NoDisplayExit() {
    qInstallMessageHandler(exitOnFatal);
}

NoDisplayExit::~NoDisplayExit() {
    qInstallMessageHandler(nullptr);
}

} // namespace quillon::gui
