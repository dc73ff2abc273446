// SPDX-License-Identifier: GPL-3.0-or-later
// Fifty runs of mixed modes and fields in the real window, each stopped at a
// random point and answered No one or more times, sometimes Yes at last
// (fixed seed, random delays): a run that finishes must show exactly what an
// uninterrupted run of the same fields computes, a run ended by Yes no
// results. The sanitizer build (make test-asan) runs it for leaks too.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "ui/IntensityWindow.h"
#include "ui/Windows.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QXYSeries>

#include <random>

using namespace velmora;
using namespace velmora::ui;

namespace {

// What the engine shows for the fields when nothing stops it.
struct Expected {
    test::RecordingDrawing view;
    QString error;
};

Expected uninterrupted(const FieldInputs& inputs) {
    Expected expected;
    expected.view = test::engineRun(inputs, &expected.error);
    return expected;
}

} // namespace

class StopStressTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<test::ScratchDir>();
        folder_->enter();
        test::writeText(folder_->file("DemoDat.txt"), test::smallMeasurement().toStdString());
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->aboutWindow.dismiss();
        form().show();
        test::setQuickFields(form());
    }
    void cleanup() {
        windows_.reset();
        folder_.reset();
    }

    void stoppedRunsFinishAsUninterruptedOnes() {
        // The plan of each run from one seed; the delays from another, as
        // they are drawn whenever a question comes, which timing decides.
        std::mt19937 rng(1208);
        std::mt19937 delays(812);
        const auto draw = [&](int below) { return static_cast<int>(rng() % below); };
        int finished = 0;
        int endedByYes = 0;
        int asked = 0;   // runs that asked the stop question
        int certain = 0; // runs whose only question came at their first stop test
        for (int run = 0; run < 50; ++run) {
            // Mostly the modes that can be stopped: "G, R (I)" and "G, R (II)".
            constexpr int modes[] = {1, 2, 1, 2, 1, 2, 0, -1, 3};
            test::pickMode(form(), modes[draw(9)]);
            test::pickDielectric(form(), draw(2));
            form().edit(Field::N)->setText(QString::number(20 + draw(5)));
            form().edit(Field::Rmax)->setText(QString::number(30 + draw(20)));
            const FieldInputs inputs = form().snapshotInputs();
            const Expected expected = uninterrupted(inputs);

            // Stop after a random delay; each question answered No presses
            // Stop again later, until the last answer, Yes or No.
            const int noAnswers = draw(3);
            const bool lastIsYes = draw(2) == 1;
            dialogs_.stopQuestions = 0;
            dialogs_.errors.clear();
            bool answeredYes = false;
            const auto pressStopLater = [&] {
                QTimer::singleShot(static_cast<int>(delays() % 4), &form(), [&] {
                    if (form().runGoing()) {
                        form().requestStop();
                    }
                });
            };
            dialogs_.onStopQuestion = [&] {
                if (dialogs_.stopQuestions <= noAnswers) {
                    pressStopLater();
                    return false;
                }
                answeredYes = lastIsYes;
                return lastIsYes;
            };
            run == 0 ? form().openAndRun() : form().startRun();
            const bool atOnce = draw(4) != 0;
            if (atOnce) {
                form().requestStop(); // the run's first stop test asks
            } else {
                pressStopLater();
            }
            QVERIFY(test::waitForRunEnd(form()));
            QTest::qWait(5); // let a Stop pressed as the run ended fall on no run

            const QString trace = QStringLiteral("run %1, mode %2, N %3, %4 questions")
                                      .arg(run)
                                      .arg(inputs.fitMode)
                                      .arg(QString::fromStdString(inputs.text(Field::N)))
                                      .arg(dialogs_.stopQuestions);
            asked += dialogs_.stopQuestions > 0 ? 1 : 0;
            const bool stoppable = inputs.fitMode == 1 || inputs.fitMode == 2;
            if (stoppable && atOnce && noAnswers == 0) {
                // Whatever the timing: asked at the first stop test, answered.
                ++certain;
                QVERIFY2(dialogs_.stopQuestions == 1, qPrintable(trace));
                QVERIFY2(answeredYes == lastIsYes, qPrintable(trace));
            }
            if (answeredYes) {
                ++endedByYes;
                QVERIFY2(test::memoLines(memo("Memo1")).isEmpty(), qPrintable(trace));
                QCOMPARE(form().series(SeriesId::Series16)->count(), 0);
                QCOMPARE(dialogs_.errors, QStringList());
                continue;
            }
            ++finished;
            QCOMPARE(dialogs_.errors,
                     expected.error.isEmpty() ? QStringList() : QStringList{expected.error});
            verifyMemos(expected.view, trace);
            verifyPoints(expected.view, SeriesId::Series9, trace);
            verifyPoints(expected.view, SeriesId::Series16, trace);
        }
        // The seed reaches both ends, and most runs were stopped.
        qInfo("%d runs asked (%d at their first stop test alone), %d finished, %d ended by Yes",
              asked, certain, finished, endedByYes);
        QVERIFY(certain >= 5);
        QVERIFY(asked > certain);
        QVERIFY(finished > 10);
        QVERIFY(endedByYes > 2);
    }

private:
    MainWindow& form() { return windows_->mainWindow; }
    QWidget* memo(const char* name) {
        return form().findChild<QWidget*>(QString::fromLatin1(name));
    }

    void verifyMemos(const test::RecordingDrawing& expected, const QString& trace) {
        const std::pair<MemoId, QWidget*> memos[] = {
            {MemoId::Memo1, memo("Memo1")},
            {MemoId::Memo2, memo("Memo2")},
            {MemoId::IntensityMemo1, windows_->intensityWindow.vPeaksMemo()},
            {MemoId::IntensityMemo2, windows_->intensityWindow.hPeaksMemo()}};
        for (const auto& [id, widget] : memos) {
            const auto found = expected.memos.find(id);
            if (found != expected.memos.end()) {
                QVERIFY2(test::memoLines(widget) == test::toQStringList(found->second),
                         qPrintable(trace));
            }
        }
    }

    void verifyPoints(const test::RecordingDrawing& expected, SeriesId id, const QString& trace) {
        const auto found = expected.series.find(id);
        const QXYSeries* series = form().series(id);
        if (found == expected.series.end()) {
            QVERIFY2(series->count() == 0, qPrintable(trace));
            return;
        }
        QVERIFY2(series->count() == static_cast<int>(found->second.size()), qPrintable(trace));
        for (std::size_t p = 0; p < found->second.size(); ++p) {
            const ChartPoint& point = found->second[p];
            QVERIFY2(series->at(static_cast<int>(p)) == QPointF(point.x, point.y),
                     qPrintable(trace));
        }
    }

    std::unique_ptr<test::ScratchDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(StopStressTest)
#include "StopStressTest.moc"
