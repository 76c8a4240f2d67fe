#include "platform/QtServices.h"

#include <QFileDialog>

namespace glim {

QString QtFileDialogs::openFile(QWidget* parent, const QString& startPath, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), startPath, filter);
}

QString QtFileDialogs::chooseFolder(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace glim
