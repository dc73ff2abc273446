// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line label that never widens its window: a text longer than the room
// it is given is cut with an ellipsis, and the whole text is its tooltip.
#pragma once

#include <QLabel>

namespace velmora::ui {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // Shows the text on one line (line breaks become spaces).
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString fullText_;
};

} // namespace velmora::ui
