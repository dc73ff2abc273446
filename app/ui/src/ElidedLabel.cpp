// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ElidedLabel.h"

#include <QFontMetrics>

namespace velmora::ui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    fullText_ = text;
    fullText_.replace(QLatin1String("\r\n"), QLatin1String(" "));
    fullText_.replace(QLatin1Char('\n'), QLatin1Char(' '));
    elide();
}

// As narrow as nothing, so that a long text asks for no width.
QSize ElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return {0, QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    const QString shown =
        fontMetrics().elidedText(fullText_, Qt::ElideRight, std::max(contentsRect().width(), 0));
    if (text() != shown) {
        setText(shown);
    }
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

} // namespace velmora::ui
