// What the window tests share: dialogs the tests answer, a help browser that
// records where it was sent, and the paths and contents of test files.
#pragma once

#include "TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"

#include <QStringList>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QXYSeries;

namespace velmora::ui {
class TForm1;
}

namespace velmora::test {

class ScriptedDialogs final : public ui::Dialogs {
public:
    void information(QWidget*, const QString& text) override { informations.append(text); }
    void error(QWidget*, const QString& text) override { errors.append(text); }
    bool stopConfirmation(QWidget*) override {
        ++stopQuestions;
        return onStopQuestion ? onStopQuestion() : false;
    }
    QString saveFileName(QWidget*, const QString& suggestedName) override {
        suggestedNames.append(suggestedName);
        return saveAs;
    }

    QStringList informations;
    QStringList errors;
    int stopQuestions = 0;
    std::function<bool()> onStopQuestion; // the answer, true = Yes
    QStringList suggestedNames;
    QString saveAs; // empty: the user cancels
};

class RecordingHelpBrowser final : public ui::HelpBrowser {
public:
    explicit RecordingHelpBrowser(std::vector<QUrl>& visits) : visits_(visits) {}
    QWidget* widget() override;
    void navigate(const QUrl& url) override { visits_.push_back(url); }

private:
    std::vector<QUrl>& visits_;
};

// The path of a file in a scratch directory, as Qt writes it.
QString pathIn(const ScratchDir& dir, const QString& name);

// A small measurement: three time points of four wavelengths, V and H each.
QByteArray smallMeasurement();

// Narrow fields that keep every fitting mode quick.
void setQuickFields(ui::TForm1& window);

// Picks a fitting mode the way the user does; -1 leaves none selected.
void pickMode(ui::TForm1& window, int item);
void pickDielectric(ui::TForm1& window, int item);

// Waits for the window's current run to end; false on timeout.
bool waitForRunEnd(ui::TForm1& window);

QStringList memoLines(const QPlainTextEdit* memo);
QStringList toQStringList(const std::vector<std::string>& lines);

} // namespace velmora::test
