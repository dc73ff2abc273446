// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes and file dialogs of the windows, behind one interface so
// that the window tests can answer them.
#pragma once

#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace velmora::ui {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A plain message box with a single OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The standard error box of a failed run or save.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // The stop question: true for Yes (abandon the run), false for No.
    virtual bool stopConfirmation(QWidget* parent) = 0;
    // The save dialog of the "Save to file" buttons; an empty result means
    // the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& suggestedName) = 0;
    // The measurement file to open; empty when the user cancels.
    virtual QString openFileName(QWidget* parent) = 0;

    // Where a chart's picture goes (a .png or .svg name) and at what size.
    struct ImageRequest {
        QString path;
        QSize size;
    };
    // The chart-picture dialog, offering the chart's size on screen; nothing
    // when the user cancels.
    virtual std::optional<ImageRequest> imageFile(QWidget* parent, QSize shownSize) = 0;
};

// The dialogs a person answers. The open dialog and the save dialogs each
// start in the folder they showed last (kept in the user's settings).
class QtDialogs : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool stopConfirmation(QWidget* parent) override;
    QString saveFileName(QWidget* parent, const QString& suggestedName) override;
    QString openFileName(QWidget* parent) override;
    std::optional<ImageRequest> imageFile(QWidget* parent, QSize shownSize) override;
};

// The exact text of the stop question.
inline const QString stopQuestionText =
    QStringLiteral("Are you sure stop application?.  Exit now?");

} // namespace velmora::ui
