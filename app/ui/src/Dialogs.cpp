#include "ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora::ui {

void QtDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

void QtDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Error"), text, QMessageBox::Ok);
}

bool QtDialogs::stopConfirmation(QWidget* parent) {
    const auto answer = QMessageBox::warning(parent, QStringLiteral("Warning"), stopQuestionText,
                                             QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& suggestedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    dialog.setNameFilters({QStringLiteral("All Files (*.*)"), QStringLiteral("dat (*.dat)")});
    dialog.selectNameFilter(QStringLiteral("All Files (*.*)"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(QDir::current());
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace velmora::ui
