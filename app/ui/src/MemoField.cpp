// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MemoField.h"

#include <QFont>
#include <QPlainTextEdit>

namespace velmora::ui {

QPlainTextEdit* makeMemo(const QString& name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTabStopDistance(64);
    return memo;
}

QFont timesFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    if (pixelSize > 0) {
        font.setPixelSize(pixelSize);
    }
    font.setBold(bold);
    return font;
}

} // namespace velmora::ui
