// SPDX-License-Identifier: GPL-3.0-or-later
// The window stays alive while it fits a 1000-point measurement: its event
// loop serves a timer throughout every mode's run, and Stop brings the stop
// question while the fit is going. The bounds are generous, so that a loaded
// machine passes; the figures themselves are bench_window's (the goal there
// is 100 ms). A window that draws a run point by point, or that only draws
// once the fit has returned, holds the loop for many seconds and fails.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "ui/PauseMeter.h"
#include "ui/RunController.h"
#include "ui/Windows.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QXYSeries>

#include <cstdlib>

using namespace velmora;
using namespace velmora::ui;

namespace {

constexpr qint64 kGenerousPauseMs = 2000;
constexpr qint64 kGenerousStopLatencyMs = 2000;

} // namespace

class LivenessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The opened file is remembered in a test location, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        const std::string command = std::string("'") + VELMORA_MAKE_DEMO_DATA + "' '" +
                                    folder_.file("measurement.txt") + "' 1000";
        QCOMPARE(std::system(command.c_str()), 0);
        measurement_ = QString::fromStdString(folder_.file("measurement.txt"));
    }
    void init() {
        dialogs_ = test::ScriptedDialogs{};
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->aboutWindow.dismiss();
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        form().selectModel(0);
    }
    void cleanup() { windows_.reset(); }

    void eventLoopIsServedThroughoutARun_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("R") << 0;
        QTest::newRow("G, R (I)") << 1;
        QTest::newRow("G, R (II)") << 2;
    }
    void eventLoopIsServedThroughoutARun() {
        QFETCH(int, mode);
        form().selectMode(mode);
        PauseMeter meter;
        meter.start();
        form().openFile(measurement_);
        QVERIFY(test::waitForRunEnd(form()));
        QTest::qWait(100);
        meter.stop();
        QCOMPARE(dialogs_.errors, QStringList());
        QVERIFY2(meter.largestPauseMs() < kGenerousPauseMs,
                 qPrintable(QStringLiteral("largest pause %1 ms").arg(meter.largestPauseMs())));
    }

    // A run of a few seconds (21 plasma energies), stopped while it fits.
    void stopBringsItsQuestionWhileTheFitRuns() {
        form().selectMode(1);
        form().edit(Field::WpMin)->setText(QStringLiteral("4,5"));
        QElapsedTimer clock;
        qint64 askedAt = -1;
        dialogs_.onStopQuestion = [&] {
            askedAt = clock.elapsed();
            return true;
        };
        form().openFile(measurement_);
        QTest::qWait(300);
        QVERIFY(form().runController().isFitting());
        clock.start();
        form().requestStop();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.stopQuestions, 1);
        QVERIFY2(askedAt < kGenerousStopLatencyMs,
                 qPrintable(QStringLiteral("asked after %1 ms").arg(askedAt)));
        QCOMPARE(form().series(SeriesId::Series9)->count(), 0);
    }

private:
    MainWindow& form() { return windows_->mainWindow; }

    test::ScratchDir folder_;
    QString measurement_;
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(LivenessTest)
#include "LivenessTest.moc"
