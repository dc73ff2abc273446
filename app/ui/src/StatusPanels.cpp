// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusPanels.h"

#include <QLabel>
#include <QProgressBar>

namespace velmora::ui {

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent), note_(new ElidedLabel), readout_(new QLabel), warnings_(new QLabel),
      progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFixedWidth(panelWidths[i]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        panels_[i] = label;
        addWidget(label);
    }
    note_->setObjectName(QStringLiteral("Note"));
    addWidget(note_, 1);
    readout_->setObjectName(QStringLiteral("Readout"));
    addPermanentWidget(readout_);
    warnings_->setObjectName(QStringLiteral("Warnings"));
    QPalette warningPalette = warnings_->palette();
    warningPalette.setColor(QPalette::WindowText, QColor(176, 96, 0));
    warnings_->setPalette(warningPalette);
    addPermanentWidget(warnings_);
    warnings_->hide();

    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setTextVisible(true);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setStyleSheet(QStringLiteral(
        "QProgressBar { background-color: rgb(192, 192, 192); border: none; color: black; }"
        "QProgressBar::chunk { background-color: rgb(0, 0, 128); }"));
    progress_->hide();
}

void StatusPanels::setPanelText(int index, const QString& text) {
    QLabel* label = panels_.at(index);
    const bool centred = text.startsWith(QLatin1Char('\t'));
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setText(centred ? text.mid(1) : text);
}

void StatusPanels::showNote(const QString& text) {
    note_->setFullText(text);
}

void StatusPanels::showReadout(const QString& text) {
    readout_->setText(text);
}

void StatusPanels::addWarning(const QString& message) {
    warningList_.append(message);
    warnings_->setText(warningList_.size() == 1
                           ? QStringLiteral("1 warning")
                           : QStringLiteral("%1 warnings").arg(warningList_.size()));
    warnings_->setToolTip(warningList_.join(QLatin1Char('\n')));
    warnings_->show();
}

void StatusPanels::clearWarnings() {
    warningList_.clear();
    warnings_->clear();
    warnings_->setToolTip({});
    warnings_->hide();
}

void StatusPanels::createProgress(int maximum) {
    progress_->hide();
    progress_->setRange(0, maximum);
    progress_->setValue(0);
    placeProgressBar();
    progress_->raise();
    progress_->show();
}

void StatusPanels::setProgress(int position) {
    progress_->setValue(position);
}

void StatusPanels::resetProgress() {
    progress_->setValue(progress_->minimum());
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    placeProgressBar();
}

void StatusPanels::placeProgressBar() {
    progress_->setGeometry(panelWidths[0] + 3, 3, panelWidths[1] - 4, height() - 4);
}

} // namespace velmora::ui
