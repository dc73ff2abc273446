// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tests share: dialogs the tests answer, a help browser that
// records where it was sent, and the paths and contents of test files.
#pragma once

#include "TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/RunDrawing.h"

#include <QColor>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

class QWidget;
class QXYSeries;

namespace velmora::ui {
class MainWindow;
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
    QString openFileName(QWidget*) override {
        ++openQuestions;
        return openAs;
    }
    std::optional<ImageRequest> imageFile(QWidget*, QSize shownSize) override {
        offeredImageSizes.append(shownSize);
        return imageAs;
    }

    QStringList informations;
    QStringList errors;
    int stopQuestions = 0;
    std::function<bool()> onStopQuestion; // the answer, true = Yes
    QStringList suggestedNames;
    QString saveAs; // empty: the user cancels
    int openQuestions = 0;
    QString openAs; // empty: the user cancels
    QList<QSize> offeredImageSizes;
    std::optional<ImageRequest> imageAs; // nothing: the user cancels
};

class RecordingHelpBrowser final : public ui::HelpBrowser {
public:
    // Records the documents navigated to in visits, the own pages shown in
    // pages (when given).
    explicit RecordingHelpBrowser(std::vector<QUrl>& visits, QStringList* pages = nullptr)
        : visits_(visits), pages_(pages) {}
    QWidget* widget() override;
    void navigate(const QUrl& url) override { visits_.push_back(url); }
    void showPage(const QString& html) override {
        if (pages_ != nullptr) {
            pages_->append(html);
        }
    }

private:
    std::vector<QUrl>& visits_;
    QStringList* pages_;
};

// The path of a file in a scratch directory, as Qt writes it.
QString pathIn(const ScratchDir& dir, const QString& name);

// A small measurement: three time points of four wavelengths, V and H each.
QByteArray smallMeasurement();

// Narrow fields that keep every fitting mode quick.
void setQuickFields(ui::MainWindow& window);

// Picks a fitting mode the way the user does; -1 leaves none selected.
void pickMode(ui::MainWindow& window, int item);
void pickDielectric(ui::MainWindow& window, int item);

// Waits for the window's current run to end; false on timeout.
bool waitForRunEnd(ui::MainWindow& window);

// Starts a run and presses Stop at once, until the fit asks the stop
// question: on a busy machine a small measurement's fit can end before the
// Stop, and such a run, finished as if never stopped, is started again.
// False when no run asked.
bool runStoppedAtOnce(ui::MainWindow& window, const ScriptedDialogs& dialogs,
                      const std::function<void()>& start);

// The lines of a memo: a plain-text field's or a table's (as reported).
QStringList memoLines(const QWidget* memo);

QStringList toQStringList(const std::vector<std::string>& lines);

// The drawing calls a run makes, recorded: every series' points and every
// memo's lines as they stand after them.
class RecordingDrawing : public ui::RunDrawing {
public:
    void clearSeries(ui::SeriesId id) override { series[id].clear(); }
    void addPoints(ui::SeriesId id, std::span<const ui::ChartPoint> points) override {
        series[id].insert(series[id].end(), points.begin(), points.end());
    }
    void clearMemo(ui::MemoId id) override { memos[id].clear(); }
    void addMemoLines(ui::MemoId id, std::span<const std::string> lines) override {
        memos[id].insert(memos[id].end(), lines.begin(), lines.end());
    }
    void createProgress(int) override {}
    void setProgress(int) override {}
    void setStatusText(int, const std::string&) override {}

    std::map<ui::SeriesId, std::vector<ui::ChartPoint>> series;
    std::map<ui::MemoId, std::vector<std::string>> memos;
};

// What the engine alone shows for the inputs, drawn as the window draws a
// run's start and its result, and the message of the failure that ended the
// run (left as it is when the run completes): the expected end state of a
// window run of the same fields.
RecordingDrawing engineRun(const FieldInputs& inputs, QString* error = nullptr);

} // namespace velmora::test
