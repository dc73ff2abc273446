// SPDX-License-Identifier: GPL-3.0-or-later
// The window's mapping of a run to its charts and memos: each quantity to
// its series and colour, the prediction and the normalised intensities to
// theirs, the tables to their memos.
#include "ui/ResultDrawing.h"
#include "WindowTestSupport.h"

#include <QTest>

#include <limits>

using namespace velmora;
using namespace velmora::ui;

namespace {

// Three time points of a run of mode "G, R (II)", every number distinct.
FitResult gr2Result() {
    FitResult r;
    r.completed = true;
    r.timePoints = 3;
    r.T = {0.0, 0.5, 1.5, 2.5};
    r.Rfit = {0.0, 31.0, 32.0, 33.0};
    r.measured.assign(3, {});
    r.Norm.assign(4, {});
    for (int i = 0; i < 3; ++i) {
        for (int c = 0; c < 8; ++c) {
            r.measured[i][c] = 100.0 * i + c;
            r.Norm[i + 1][c] = 1000.0 * (i + 1) + c;
        }
    }
    r.overTime = {{Quantity::Radius, {31.0, 32.0, 33.0}},
                  {Quantity::Concentration, {7.0, 8.0, 9.0}},
                  {Quantity::DampingSpread, {0.1, 0.2, 0.3}},
                  {Quantity::MeanDamping, {0.7, 0.8, 0.9}}};
    r.predictionRadii = {20.0, 20.9};
    r.Model.assign(3, {});
    r.Model[1].fill(11.0);
    r.Model[2].fill(12.0);
    r.Model[2][7] = 13.0;
    r.ResultTable = {"Time\tRadius\tConc\tVx\tNp\tNb", "0.500\t31.000\t7.0\t1.000\t0.000\t0.000"};
    r.ResonanceTable = {"W [eV]\tRmaxV\tRmaxH", "2.708\t0.000\t0.000"};
    r.vPeakTable = {"W [eV]\tRmaxV", "2.708\t0.000"};
    r.hPeakTable = {"W [eV]\tRmaxH", "2.708\t0.000"};
    return r;
}

} // namespace

class ResultDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void measurementGoesToTheChannelSeriesInTheWavelengthsColours() {
        test::RecordingDrawing drawing;
        drawing.memos[MemoId::Memo1] = {"previous run"};
        drawing.series[SeriesId::Series9] = {{1.0, 1.0, Colour::Red}};
        drawMeasurement(drawing, gr2Result());
        QVERIFY(drawing.memos[MemoId::Memo1].empty());
        QVERIFY(drawing.series[SeriesId::Series9].empty());
        const std::vector<ChartPoint>& h3 = drawing.series[SeriesId::Series6];
        QCOMPARE(h3.size(), std::size_t{3});
        QCOMPARE(h3[2].x, 2.5);
        QCOMPARE(h3[2].y, 205.0);
        QCOMPARE(h3[2].colour, Colour::Yellow);
        QCOMPARE(drawing.series[SeriesId::Series1][0].colour, Colour::Blue);
    }

    void eachQuantityHasItsSeriesAndColour() {
        test::RecordingDrawing drawing;
        drawResult(drawing, gr2Result());
        const std::vector<ChartPoint>& radius = drawing.series[SeriesId::Series9];
        QCOMPARE(radius.size(), std::size_t{3});
        QCOMPARE(radius[1].x, 1.5);
        QCOMPARE(radius[1].y, 32.0);
        QCOMPARE(radius[1].colour, Colour::Red);
        QCOMPARE(drawing.series[SeriesId::LineSeries2][2].y, 9.0);
        // In mode "G, R (II)" the non-agreement chart shows the spread and
        // the damping chart the mean damping, in blue.
        QCOMPARE(drawing.series[SeriesId::LineSeries3][0].y, 0.1);
        QCOMPARE(drawing.series[SeriesId::Series15][0].y, 0.7);
        QCOMPARE(drawing.series[SeriesId::Series15][0].colour, Colour::Blue);
        QVERIFY(drawing.series[SeriesId::Series14].empty());
    }

    void errorBandsFollowOnlyTheEstimatesWithAStandardError() {
        FitResult r = gr2Result();
        r.estimates.resize(3);
        r.estimates[0].radius = {31.0, 0.5};
        r.estimates[1].radius = {32.0, std::numeric_limits<double>::quiet_NaN()};
        r.estimates[2].radius = {33.0, 2.0};
        r.estimates[2].damping = {0.9, 0.25};
        test::RecordingDrawing drawing;
        drawResult(drawing, r);
        const std::vector<ChartPoint>& low = drawing.series[SeriesId::RadiusLow];
        const std::vector<ChartPoint>& high = drawing.series[SeriesId::RadiusHigh];
        QCOMPARE(low.size(), std::size_t{2});
        QCOMPARE(high.size(), std::size_t{2});
        QCOMPARE(low[1].x, 2.5);
        QCOMPARE(low[1].y, 31.0);
        QCOMPARE(high[0].y, 31.5);
        QCOMPARE(drawing.series[SeriesId::DampingHigh].size(), std::size_t{1});
        QCOMPARE(drawing.series[SeriesId::DampingHigh][0].y, 1.15);
        QVERIFY(drawing.series[SeriesId::PlasmaEnergyLow].empty());
    }

    void predictionIntensitiesAndTablesGoWhereTheyBelong() {
        test::RecordingDrawing drawing;
        drawResult(drawing, gr2Result());
        const std::vector<ChartPoint>& lastChannel = drawing.series[SeriesId::Series23];
        QCOMPARE(lastChannel.size(), std::size_t{2});
        QCOMPARE(lastChannel[1].x, 20.9);
        QCOMPARE(lastChannel[1].y, 13.0);
        // Each channel in its wavelength's colour, as in every chart.
        QCOMPARE(lastChannel[1].colour, Colour::Red);
        QCOMPARE(drawing.series[SeriesId::Series17][0].colour, Colour::Blue);
        // The intensity chart leaves out the first time point.
        const Colour colours[] = {Colour::Blue,   Colour::Blue,   Colour::Green, Colour::Green,
                                  Colour::Yellow, Colour::Yellow, Colour::Red,   Colour::Red};
        for (int c = 0; c < 8; ++c) {
            const std::vector<ChartPoint>& points =
                drawing.series[seriesAt(SeriesId::IntensitySeries1, c)];
            QCOMPARE(points.size(), std::size_t{2});
            QCOMPARE(points[0].x, 32.0);
            QCOMPARE(points[0].y, 2000.0 + c);
            QCOMPARE(points[0].colour, colours[c]);
        }
        const FitResult r = gr2Result();
        QCOMPARE(drawing.memos[MemoId::Memo1], r.ResultTable);
        QCOMPARE(drawing.memos[MemoId::Memo2], r.ResonanceTable);
        QCOMPARE(drawing.memos[MemoId::IntensityMemo1], r.vPeakTable);
        QCOMPARE(drawing.memos[MemoId::IntensityMemo2], r.hPeakTable);
    }
};

QTEST_GUILESS_MAIN(ResultDrawingTest)
#include "ResultDrawingTest.moc"
