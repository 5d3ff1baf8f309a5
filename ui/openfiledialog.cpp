#include "ui/openfiledialog.h"

#include <QFileDialog>

namespace quillon::ui {

QStringList QtOpenFileDialog::getOpenFileNames(QWidget* owner, const QString& startFolder) {
    // An empty caption leaves the dialog its default title.
    return QFileDialog::getOpenFileNames(owner, QString(), startFolder,
                                         QStringLiteral("flv files (*.flv)"));
}

} // namespace quillon::ui
