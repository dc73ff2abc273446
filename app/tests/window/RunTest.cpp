// SPDX-License-Identifier: GPL-3.0-or-later
// Runs from the window: refused before Open, a full Open run in every mode
// drawn exactly as the engine reports it, the stop question answered No and
// Yes, failed runs, saving the tables, and refusals while a run is going.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "ui/IntensityWindow.h"
#include "ui/RunController.h"
#include "ui/SeriesColours.h"
#include "ui/StatusPanels.h"
#include "ui/TableField.h"
#include "ui/Windows.h"

#include <QFile>
#include <QImage>

#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QXYSeries>

#include <algorithm>
#include <functional>

using namespace velmora;
using namespace velmora::ui;

namespace {

constexpr int seriesCount = static_cast<int>(SeriesId::IntensitySeries8) + 1;

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<test::ScratchDir>();
        folder_->enter();
        test::writeText(folder_->file("DemoDat.txt"), test::smallMeasurement().toStdString());
        dialogs_ = test::ScriptedDialogs{};
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->aboutWindow.dismiss();
        form().show();
        test::setQuickFields(form());
        test::pickDielectric(form(), 0);
    }
    void cleanup() {
        windows_.reset();
        folder_.reset();
    }

    void goAndEnterBeforeOpenOnlySayNotLoadData() {
        test::pickMode(form(), 0);
        form().startRun();
        QTest::mouseClick(form().findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QTest::keyClick(&form(), Qt::Key_Return);
        QCOMPARE(dialogs_.informations,
                 QStringList({"Not load data!", "Not load data!", "Not load data!"}));
        QVERIFY(!form().runGoing());
        QVERIFY(!form().dataLoaded());
        QCOMPARE(form().series(SeriesId::Series1)->count(), 0);
        QVERIFY(test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo1"))).isEmpty());
    }

    void openRunDrawsWhatTheEngineReports_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("R") << 0;
        QTest::newRow("G, R (I)") << 1;
        QTest::newRow("G, R (II)") << 2;
        QTest::newRow("blank") << 3;
        QTest::newRow("no mode") << -1;
    }
    void openRunDrawsWhatTheEngineReports() {
        QFETCH(int, mode);
        if (mode >= 0) {
            test::pickMode(form(), mode);
        }
        const FieldInputs inputs = form().snapshotInputs();
        QSignalSpy ended(&form(), &MainWindow::runEnded);
        form().openAndRun();
        QVERIFY(form().runGoing());
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(dialogs_.errors, QStringList());
        verifyWindowShows(test::engineRun(inputs));
        QCOMPARE(form().series(SeriesId::Series1)->count(), 3);
        QCOMPARE(test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo1"))).size(),
                 mode >= 0 ? 4 : 0);
        if (mode == 1 || mode == 2) {
            QCOMPARE(form().series(SeriesId::Series15)->count(), 3);
        }
        if (mode == 0) {
            QCOMPARE(form().series(SeriesId::Series9)->count(), 3);
            QVERIFY(
                !test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo2"))).isEmpty());
        }
    }

    void measuredAndPredictedSeriesHaveTheirColours() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().series(SeriesId::Series1)->color(), QColor(0, 0, 255));
        QCOMPARE(form().series(SeriesId::Series2)->color(), QColor(0, 0, 255));
        QCOMPARE(form().series(SeriesId::Series7)->color(), QColor(255, 0, 0));
        // The prediction's curves take their wavelength's colour too.
        QCOMPARE(form().series(SeriesId::Series17)->color(), QColor(0, 0, 255));
        QCOMPARE(form().series(SeriesId::Series21)->color(), QColor(255, 255, 0));
        QCOMPARE(form().series(SeriesId::Series23)->color(), QColor(255, 0, 0));
        QCOMPARE(form().series(SeriesId::Series16)->pen().width(), 2);
        QVERIFY(!form().series(SeriesId::Series16)->pointsVisible());
        // V and H of a wavelength share its colour and differ in shape:
        // filled and open marks, solid and dashed lines.
        const auto markCentre = [this](SeriesId id) {
            const QImage mark = form().series(id)->lightMarker();
            return mark.pixelColor(mark.width() / 2, mark.height() / 2);
        };
        QCOMPARE(markCentre(SeriesId::Series1), QColor(0, 0, 255));
        QCOMPARE(markCentre(SeriesId::Series2), QColor(Qt::white));
        QCOMPARE(form().series(SeriesId::Series16)->pen().style(), Qt::SolidLine);
        QCOMPARE(form().series(SeriesId::Series17)->pen().style(), Qt::DashLine);
        QCOMPARE(windows_->intensityWindow.series(1)->pen().style(), Qt::DashLine);
        // "Intensity results": V filled, H open, in the wavelength's colour.
        const auto intensityMarkCentre = [this](int c) {
            const QImage mark = windows_->intensityWindow.series(c)->lightMarker();
            return mark.pixelColor(mark.width() / 2, mark.height() / 2);
        };
        QCOMPARE(windows_->intensityWindow.series(6)->color(), QColor(255, 0, 0));
        QCOMPARE(intensityMarkCentre(6), QColor(255, 0, 0));
        QCOMPARE(intensityMarkCentre(7), QColor(Qt::white));
    }

    void stopAnsweredNoFinishesAsIfNeverStopped_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("G, R (I)") << 1;
        QTest::newRow("G, R (II)") << 2;
    }
    void stopAnsweredNoFinishesAsIfNeverStopped() {
        QFETCH(int, mode);
        test::pickMode(form(), mode);
        const FieldInputs inputs = form().snapshotInputs();
        dialogs_.onStopQuestion = [] { return false; };
        QVERIFY(test::runStoppedAtOnce(form(), dialogs_, [this] { form().openAndRun(); }));
        QCOMPARE(dialogs_.stopQuestions, 1);
        QVERIFY(form().runController().runFlag());
        QCOMPARE(dialogs_.errors, QStringList());
        verifyWindowShows(test::engineRun(inputs));
    }

    void stopAnsweredYesEndsWithoutResults() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        const QString previousResonances =
            test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo2")))
                .join(QLatin1Char('\n'));
        QVERIFY(!previousResonances.isEmpty());

        test::pickMode(form(), 1);
        dialogs_.onStopQuestion = [] { return true; };
        QVERIFY(test::runStoppedAtOnce(form(), dialogs_, [this] { form().startRun(); }));
        QCOMPARE(dialogs_.stopQuestions, 1);
        QCOMPARE(dialogs_.errors, QStringList());
        QVERIFY(test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo1"))).isEmpty());
        QCOMPARE(form().series(SeriesId::Series16)->count(), 0);
        // Nothing of the previous run is left to be taken for the stopped
        // run's result, or saved as it.
        QVERIFY(test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo2"))).isEmpty());
        QVERIFY(windows_->intensityWindow.vPeaksMemo()->toPlainText().isEmpty());
        QCOMPARE(windows_->intensityWindow.series(0)->count(), 0);
        QCOMPARE(form().series(SeriesId::Series1)->count(), 3);
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("resonances.dat"));
        form().saveResonanceTable();
        QCOMPARE(dialogs_.informations,
                 QStringList{QStringLiteral("The table is empty: there is nothing to save")});
        QVERIFY(dialogs_.suggestedNames.isEmpty());
        QVERIFY(!QFile::exists(dialogs_.saveAs));
    }

    // A refused field ends the run before the measurement is read.
    void refusedFieldShowsTheEngineMessageAndDrawsNothing() {
        test::pickMode(form(), 0);
        form().edit(Field::Wp)->setText(QStringLiteral("5;6"));
        QString expectedError;
        const test::RecordingDrawing expected =
            test::engineRun(form().snapshotInputs(), &expectedError);
        QVERIFY(!expectedError.isEmpty());
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors, QStringList{expectedError});
        QCOMPARE(expectedError, QStringLiteral("'5;6' is not a valid floating point value"));
        QCOMPARE(form().series(SeriesId::Series1)->count(), 0);
        verifyWindowShows(expected);
    }

    void fitWithoutDielectricFunctionSaysSo() {
        test::pickMode(form(), 2);
        test::pickDielectric(form(), -1);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors,
                 QStringList{"Choose a dielectric function (Drude or Lorents) before fitting"});
    }

    void missingFileLeavesThePreviousDrawing() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        const QList<QPointF> measured = form().series(SeriesId::Series4)->points();
        QVERIFY(QFile::remove(test::pathIn(*folder_, QStringLiteral("DemoDat.txt"))));
        form().startRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors, QStringList{QStringLiteral(
                                      "Cannot open file DemoDat.txt: No such file or directory")});
        QCOMPARE(form().series(SeriesId::Series4)->points(), measured);
    }

    // The result table is a grid under a fixed header whose selected cells
    // copy as tab-separated text; Save writes the engine's table, byte for
    // byte, whatever is selected.
    void resultTableIsAGridAndSavesTheEngineTable() {
        test::pickMode(form(), 0);
        const FieldInputs inputs = form().snapshotInputs();
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        auto* table = form().findChild<TableField*>(QStringLiteral("Memo1"));
        QVERIFY(table != nullptr);
        const QStringList lines = test::memoLines(table);
        QCOMPARE(lines, test::toQStringList(test::engineRun(inputs).memos[MemoId::Memo1]));
        QCOMPARE(lines.size(), 4);
        const QStringList header = lines[0].split(QLatin1Char('\t'));
        QCOMPARE(table->columnCount(), header.size());
        QCOMPARE(table->rowCount(), 3);
        for (int column = 0; column < header.size(); ++column) {
            QCOMPARE(table->horizontalHeaderItem(column)->text(), header[column]);
        }
        QCOMPARE(table->item(2, 1)->text(), lines[3].split(QLatin1Char('\t'))[1]);
        table->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, table->columnCount() - 1),
                                true);
        QCOMPARE(table->selectedText(), lines[2] + QLatin1Char('\n') + lines[3]);

        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("table.dat"));
        form().saveResultTable();
        QCOMPARE(readFile(dialogs_.saveAs), (lines.join("\r\n") + "\r\n").toUtf8());
        table->clearSelection();
        table->sortByColumn(1, Qt::DescendingOrder);
        form().saveResultTable();
        QCOMPARE(readFile(dialogs_.saveAs), (lines.join("\r\n") + "\r\n").toUtf8());

        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("resonances.dat"));
        form().saveResonanceTable();
        const QStringList resonances =
            test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo2")));
        QCOMPARE(resonances.value(0), QStringLiteral("W [eV]\tRmaxV\tRmaxH"));
        QCOMPARE(readFile(dialogs_.saveAs), (resonances.join("\r\n") + "\r\n").toUtf8());
        QCOMPARE(dialogs_.suggestedNames, QStringList({"_RNV", "_RNV", "_WR"}));
        QCOMPARE(dialogs_.errors, QStringList());
    }

    void cancelledSaveWritesNothing() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        form().saveResonanceTable();
        QCOMPARE(dialogs_.suggestedNames, QStringList{"_WR"});
        QVERIFY(!QFile::exists(test::pathIn(*folder_, QStringLiteral("_WR.dat"))));
        QVERIFY(!QFile::exists(test::pathIn(*folder_, QStringLiteral("_WR"))));
    }

    void failedSaveSaysWhy() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        // A path below a plain file cannot be written, not even by root.
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("DemoDat.txt/table.dat"));
        form().saveResultTable();
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(!dialogs_.errors[0].isEmpty());
        QCOMPARE(readFile(test::pathIn(*folder_, QStringLiteral("DemoDat.txt"))),
                 test::smallMeasurement());
    }

    void saveNeverReplacesTheMeasurement() {
        test::pickMode(form(), 0);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("DemoDat.txt"));
        form().saveResultTable();
        QCOMPARE(dialogs_.errors,
                 QStringList{QStringLiteral("The output file ") + dialogs_.saveAs +
                             QStringLiteral(" is the measurement DemoDat.txt; writing it would "
                                            "replace the measurement")});
        QCOMPARE(readFile(dialogs_.saveAs), test::smallMeasurement());
    }

    void openGoAndEnterDuringARunAreRefused() {
        test::pickMode(form(), 1);
        QSignalSpy ended(&form(), &MainWindow::runEnded);
        form().openAndRun();
        QVERIFY(form().runGoing());
        form().openAndRun();
        form().startRun();
        form().onEnterKey();
        QVERIFY(!form().statusPanels()->note()->text().isEmpty());
        QVERIFY(form().runGoing());
        dialogs_.onStopQuestion = [] { return true; };
        form().requestStop();
        QVERIFY(test::waitForRunEnd(form()));
        QTest::qWait(50);
        QCOMPARE(ended.count(), 1);
        // One question, unless the fit had ended before the Stop.
        QVERIFY(dialogs_.stopQuestions <= 1);
        QCOMPARE(dialogs_.informations, QStringList());
    }

    void stopWithoutARunDoesNotHinderTheNext() {
        test::pickMode(form(), 0);
        form().requestStop();
        QVERIFY(!form().runController().runFlag());
        form().openAndRun();
        QVERIFY(form().runController().runFlag());
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().series(SeriesId::Series9)->count(), 3);
        QCOMPARE(dialogs_.stopQuestions, 0);
    }

private:
    MainWindow& form() { return windows_->mainWindow; }

    QXYSeries* windowSeries(SeriesId id) {
        const int intensity = static_cast<int>(SeriesId::IntensitySeries1);
        if (static_cast<int>(id) >= intensity) {
            return windows_->intensityWindow.series(static_cast<int>(id) - intensity);
        }
        return form().series(id);
    }

    QWidget* windowMemo(MemoId id) {
        switch (id) {
        case MemoId::Memo1:
            return form().findChild<QWidget*>(QStringLiteral("Memo1"));
        case MemoId::Memo2:
            return form().findChild<QWidget*>(QStringLiteral("Memo2"));
        case MemoId::IntensityMemo1:
            return windows_->intensityWindow.vPeaksMemo();
        case MemoId::IntensityMemo2:
            return windows_->intensityWindow.hPeaksMemo();
        }
        return nullptr;
    }

    void verifyWindowShows(const test::RecordingDrawing& expected) {
        for (int i = 0; i < seriesCount; ++i) {
            const auto id = static_cast<SeriesId>(i);
            const auto found = expected.series.find(id);
            const std::vector<ChartPoint> none;
            std::vector<ChartPoint> points = found == expected.series.end() ? none : found->second;
            // The window keeps each series in ascending x.
            std::stable_sort(points.begin(), points.end(),
                             [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; });
            const QXYSeries* series = windowSeries(id);
            QCOMPARE(series->count(), static_cast<int>(points.size()));
            for (std::size_t p = 0; p < points.size(); ++p) {
                QCOMPARE(series->at(static_cast<int>(p)), QPointF(points[p].x, points[p].y));
            }
            if (!points.empty()) {
                QCOMPARE(series->color(), toQColor(points.back().colour));
            }
        }
        for (const auto& [id, lines] : expected.memos) {
            QCOMPARE(test::memoLines(windowMemo(id)), test::toQStringList(lines));
        }
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<test::ScratchDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(RunTest)
#include "RunTest.moc"
