// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Dialogs.h"

#include "ui/MessageText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>

namespace velmora::ui {

namespace {

// "All Files" matches every name, also one without a dot.
const QString allFilesFilter = QStringLiteral("All Files (*)");

// The folders the open dialog and the save dialogs (tables and pictures)
// showed last, kept in the user's settings.
const QString openFolderKey = QStringLiteral("folders/open");
const QString saveFolderKey = QStringLiteral("folders/save");

// The folder a dialog showed last, while it exists; else the working
// directory, as at a first start.
QString lastFolder(const QString& key) {
    const QString folder = QSettings().value(key).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath();
}

void rememberFolderOf(const QString& key, const QString& file) {
    QSettings().setValue(key, QFileInfo(file).absolutePath());
}

// Asks for a picture's width and height in pixels, starting at `size`.
std::optional<QSize> askImageSize(QWidget* parent, QSize size) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Image size"));
    auto* width = new QSpinBox;
    auto* height = new QSpinBox;
    for (QSpinBox* box : {width, height}) {
        box->setRange(16, 16384);
        box->setSuffix(QStringLiteral(" px"));
    }
    width->setValue(size.width());
    height->setValue(size.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(QStringLiteral("Width"), width);
    layout->addRow(QStringLiteral("Height"), height);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QSize(width->value(), height->value());
}

// A message box with one OK button whose text is wrapped to a readable width
// and cut after a screenful of lines; the whole text is then its details.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
    constexpr int columns = 90;
    constexpr qsizetype shownLines = 30;
    const QStringList lines = wrappedLines(text, columns).split(QLatin1Char('\n'));
    QMessageBox box(icon, title, {}, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (lines.size() > shownLines) {
        box.setText(lines.first(shownLines).join(QLatin1Char('\n')) + QStringLiteral("\n…"));
        box.setDetailedText(text);
    } else {
        box.setText(lines.join(QLatin1Char('\n')));
    }
    box.exec();
}

} // namespace

void QtDialogs::information(QWidget* parent, const QString& text) {
    // A plain box: no icon, a single OK button.
    showMessage(parent, QMessageBox::NoIcon, QApplication::applicationDisplayName(), text);
}

void QtDialogs::error(QWidget* parent, const QString& text) {
    showMessage(parent, QMessageBox::Critical, QStringLiteral("Error"), text);
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
    dialog.setNameFilters({allFilesFilter, QStringLiteral("dat (*.dat)")});
    dialog.selectNameFilter(allFilesFilter);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(lastFolder(saveFolderKey));
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    rememberFolderOf(saveFolderKey, dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::openFileName(QWidget* parent) {
    const QString file = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Open measurement file"), lastFolder(openFolderKey),
        QStringLiteral("Measurement files (*.txt *.dat);;") + allFilesFilter);
    if (!file.isEmpty()) {
        rememberFolderOf(openFolderKey, file);
    }
    return file;
}

std::optional<Dialogs::ImageRequest> QtDialogs::imageFile(QWidget* parent, QSize shownSize) {
    const QString png = QStringLiteral("PNG image (*.png)");
    const QString svg = QStringLiteral("SVG image (*.svg)");
    QFileDialog dialog(parent, QStringLiteral("Save image"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({png, svg});
    dialog.setDirectory(lastFolder(saveFolderKey));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    rememberFolderOf(saveFolderKey, dialog.selectedFiles().constFirst());
    const std::optional<QSize> size = askImageSize(parent, shownSize);
    if (!size) {
        return std::nullopt;
    }
    return ImageRequest{dialog.selectedFiles().constFirst(), *size};
}

} // namespace velmora::ui
