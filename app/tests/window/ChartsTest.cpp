// SPDX-License-Identifier: GPL-3.0-or-later
// The charts of both windows after runs on the demo measurement: ticks at
// round numbers, no label cut short at the default size, labelled decades on
// the logarithmic axis, series in ascending x, names for the legend, zoom,
// and pictures a parser accepts.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "ui/ChartPanel.h"
#include "ui/ChartView.h"
#include "ui/RoundTicks.h"
#include "ui/StatusPanels.h"
#include "ui/Windows.h"

#include <QChart>
#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>

#include <cmath>

using namespace velmora;
using namespace velmora::ui;

namespace {

// True when value is 1, 2 or 5 times a power of ten.
bool isRoundStep(double value) {
    const double mantissa = value / std::pow(10.0, std::floor(std::log10(value) + 1e-9));
    for (const double round : {1.0, 2.0, 5.0, 10.0}) {
        if (std::abs(mantissa - round) < 1e-6) {
            return true;
        }
    }
    return false;
}

bool isMultiple(double value, double step) {
    const double ratio = value / step;
    return std::abs(ratio - std::round(ratio)) < 1e-6;
}

// The texts of the axis labels the chart draws.
QStringList labelTexts(QChart* chart) {
    QStringList texts;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible()) {
            texts.append(text->toPlainText());
        }
    }
    return texts;
}

} // namespace

class ChartsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<test::ScratchDir>();
        folder_->enter();
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->aboutWindow.dismiss();
        form().show();
        test::pickDielectric(form(), 0);
    }
    void cleanup() {
        windows_.reset();
        folder_.reset();
    }

    void roundStepsOfKnownSpans() {
        QCOMPARE(roundTickStep(10.0, 10), 1.0);
        QCOMPARE(roundTickStep(10.0, 4), 5.0);
        QCOMPARE(roundTickStep(1.0, 10), 0.1);
        QCOMPARE(roundTickStep(2.0, 5), 0.5);
        QCOMPARE(roundTickStep(223.8, 5), 50.0);
        QCOMPARE(roundTickStep(0.00047, 5), 0.0001);
        QCOMPARE(roundTickStep(1e6, 3), 5e5);
        QCOMPARE(roundTickStep(0.0, 5), 1.0);
        QCOMPARE(roundTickStep(NAN, 5), 1.0);
        QCOMPARE(roundTickStep(3.0, 0), 5.0);
        QCOMPARE(decimalsFor(50.0), 0);
        QCOMPARE(decimalsFor(0.2), 1);
        QCOMPARE(decimalsFor(0.05), 2);
        QCOMPARE(decimalsFor(0.0001), 4);
        QCOMPARE(roundedRange(23.8, 447.5, 50.0), std::make_pair(0.0, 450.0));
        QCOMPARE(roundedRange(-0.26, 0.3, 0.1), std::make_pair(-0.3, 0.3));
        QCOMPARE(decadeRange(120.0, 950.0), std::make_pair(100.0, 1000.0));
        QCOMPARE(decadeRange(5.0, 5.0), std::make_pair(1.0, 10.0));
        QCOMPARE(decadeRange(0.02, 3000.0), std::make_pair(0.01, 10000.0));
    }

    void everyChartTicksAtRoundNumbersWithWholeLabels_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("R") << 0;
        QTest::newRow("G, R (I)") << 1;
        QTest::newRow("G, R (II)") << 2;
    }
    void everyChartTicksAtRoundNumbersWithWholeLabels() {
        QFETCH(int, mode);
        test::pickMode(form(), mode);
        form().openFile(QStringLiteral(VELMORA_DEMO_FILE));
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors, QStringList());
        form().showIntensityWindow();
        auto* pages = form().findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        const std::pair<WindowChart, int> chartPages[] = {{WindowChart::Measured, 0},
                                                          {WindowChart::Radius, 0},
                                                          {WindowChart::Concentration, 0},
                                                          {WindowChart::Agreement, 0},
                                                          {WindowChart::Prediction, 3}};
        for (const auto& [which, page] : chartPages) {
            pages->setCurrentIndex(page);
            verifyReadable(form().chart(which), form().chart(which)->objectName());
        }
        if (mode != 0) {
            pages->setCurrentIndex(2);
            verifyReadable(form().chart(WindowChart::Damping), QStringLiteral("damping"));
            if (mode == 1) {
                verifyReadable(form().chart(WindowChart::PlasmaEnergy),
                               QStringLiteral("plasma energy"));
            }
        }
        verifyReadable(windows_->intensityWindow.chart(), QStringLiteral("Intensity results"));
        // The logarithmic axis spans whole decades, at least one.
        const auto* log =
            qobject_cast<QLogValueAxis*>(form().chart(WindowChart::Concentration)->yAxis());
        QVERIFY(log->max() / log->min() >= 10.0 - 1e-9);
        QVERIFY(isMultiple(std::log10(log->min()), 1.0));
        QVERIFY(isMultiple(std::log10(log->max()), 1.0));
        QCOMPARE(log->minorTickCount(), 8);
    }

    void intensityWindowHasTitlesAndNamesItsCurves() {
        test::pickMode(form(), 0);
        form().openFile(QStringLiteral(VELMORA_DEMO_FILE));
        QVERIFY(test::waitForRunEnd(form()));
        ChartPanel* chart = windows_->intensityWindow.chart();
        QVERIFY(chart->titleLabel()->text() != QStringLiteral("TChart"));
        QCOMPARE(chart->xAxis()->titleText(), QStringLiteral("Radius [nm]"));
        QCOMPARE(chart->yAxis()->titleText(), QStringLiteral("Normalised intensity [a.u.]"));
        QCOMPARE(windows_->intensityWindow.series(0)->name(), QStringLiteral("457,9 nm V"));
        QCOMPARE(windows_->intensityWindow.series(7)->name(), QStringLiteral("647,1 nm H"));
        QCOMPARE(form().series(SeriesId::Series19)->name(), QStringLiteral("514,5 nm H"));
        QCOMPARE(form().series(SeriesId::Series5)->name(), QStringLiteral("568,2 nm V"));
        // Every series in ascending x, the curves against the fitted radius too.
        for (int c = 0; c < 8; ++c) {
            const QList<QPointF> points = windows_->intensityWindow.series(c)->points();
            QVERIFY(std::is_sorted(points.begin(), points.end(),
                                   [](QPointF a, QPointF b) { return a.x() < b.x(); }));
        }
        // The legend, off by default, names the series that hold points.
        ChartPanel* prediction = form().chart(WindowChart::Prediction);
        QVERIFY(!prediction->legendShown());
        ChartPanel* damping = form().chart(WindowChart::Damping);
        damping->setLegendShown(true);
        int shownMarkers = 0;
        for (QLegendMarker* marker : damping->chart()->legend()->markers()) {
            shownMarkers += marker->isVisible() ? 1 : 0;
        }
        QCOMPARE(shownMarkers, 0); // mode R fills no damping series
        prediction->setLegendShown(true);
        QCOMPARE(prediction->chart()->legend()->markers().size(), 8);
        QCOMPARE(prediction->chart()->legend()->markers().at(1)->label(),
                 QStringLiteral("457,9 nm H"));
    }

    void measurementInAnyTimeOrderIsDrawnAscending() {
        test::writeText(folder_->file("shuffled.txt"), "3\t3\t3\t3\t3\t3\t3\t3\t3\n"
                                                       "0\t1\t1\t1\t1\t1\t1\t1\t1\n"
                                                       "1.5\t2\t2\t2\t2\t2\t2\t2\t2\n");
        test::pickMode(form(), 3);
        form().openFile(test::pathIn(*folder_, QStringLiteral("shuffled.txt")));
        QVERIFY(test::waitForRunEnd(form()));
        const QList<QPointF> points = form().series(SeriesId::Series1)->points();
        QCOMPARE(points, QList<QPointF>({{0.0, 1.0}, {1.5, 2.0}, {3.0, 3.0}}));
    }

    // The prediction spans the radius grid, Rmin to Rmax, with or without
    // the legend (which narrows the plot and so the room for ticks).
    void predictionSpansTheRadiusGridWithOrWithoutLegend() {
        test::pickMode(form(), 0);
        form().openFile(QStringLiteral(VELMORA_DEMO_FILE));
        QVERIFY(test::waitForRunEnd(form()));
        ChartPanel* prediction = form().chart(WindowChart::Prediction);
        const auto* x = static_cast<QValueAxis*>(prediction->xAxis());
        for (const bool legend : {false, true, false}) {
            prediction->setLegendShown(legend);
            QTest::qWait(50); // the ticks are placed again once the layout settles
            QCOMPARE(std::make_pair(x->min(), x->max()), std::make_pair(20.0, 200.0));
        }
    }

    void zoomAndResetZoom() {
        test::pickMode(form(), 0);
        form().openFile(QStringLiteral(VELMORA_DEMO_FILE));
        QVERIFY(test::waitForRunEnd(form()));
        ChartPanel* chart = form().chart(WindowChart::Radius);
        QTest::qWait(50);
        auto* x = static_cast<QValueAxis*>(chart->xAxis());
        const double low = x->min();
        const double high = x->max();
        chart->view()->zoomAround(chart->chart()->plotArea().center(), 2.0);
        QVERIFY(std::abs((x->max() - x->min()) - (high - low) / 2.0) < 1e-6 * (high - low));
        QVERIFY(isRoundStep(x->tickInterval()));
        chart->rescale();
        QCOMPARE(x->min(), low);
        QCOMPARE(x->max(), high);
        // The damping chart's held range comes back too.
        ChartPanel* damping = form().chart(WindowChart::Damping);
        auto* y = static_cast<QValueAxis*>(damping->yAxis());
        damping->chart()->zoom(3.0);
        QVERIFY(y->max() - y->min() < 1.0);
        damping->rescale();
        QCOMPARE(y->min(), 0.0);
        QCOMPARE(y->max(), 2.0);
        // The value under the cursor shows in the status bar until it leaves.
        QLabel* readout = form().statusPanels()->readout();
        emit chart->view()->valueUnderCursor(QPointF(250.0, 0.125));
        QCOMPARE(readout->text(), QStringLiteral("x = 250, y = 0.125"));
        emit chart->view()->cursorLeft();
        QCOMPARE(readout->text(), QString());
    }

    void picturesAreWrittenAsPngAndSvg() {
        test::pickMode(form(), 0);
        form().openFile(QStringLiteral(VELMORA_DEMO_FILE));
        QVERIFY(test::waitForRunEnd(form()));
        ChartPanel* chart = form().chart(WindowChart::Measured);
        const QString png = test::pathIn(*folder_, QStringLiteral("chart.png"));
        const QString svg = test::pathIn(*folder_, QStringLiteral("chart.svg"));
        chart->saveImage(png, QSize(800, 500));
        const QImage image(png);
        QCOMPARE(image.size(), QSize(800, 500));
        // Not blank: the measured points are drawn in their colours.
        QVERIFY(image.pixelColor(400, 250) != image.pixelColor(0, 0) ||
                image.pixelColor(200, 200) != image.pixelColor(0, 0));
        // Through the context menu's dialog.
        dialogs_.imageAs = Dialogs::ImageRequest{svg, QSize(640, 480)};
        chart->askAndSaveImage();
        QCOMPARE(dialogs_.offeredImageSizes, QList<QSize>({chart->size()}));
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 640, 480));
        // A picture that cannot be written is reported, nothing else.
        dialogs_.imageAs = Dialogs::ImageRequest{
            test::pathIn(*folder_, QStringLiteral("no/such/folder/chart.png")), QSize(100, 100)};
        chart->askAndSaveImage();
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(dialogs_.errors[0].startsWith(QStringLiteral("Cannot write file ")));
        // The chart on screen keeps its size.
        QCOMPARE(chart->chart()->size(), QSizeF(chart->view()->size()));
        chart->copyImage();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), chart->size());
    }

private:
    MainWindow& form() { return windows_->mainWindow; }

    // Ticks at round multiples, labels whole, at the window's default size.
    void verifyReadable(ChartPanel* chart, const QString& what) {
        chart->window()->show();
        QTest::qWait(100);
        for (QAbstractAxis* abstractAxis : {chart->xAxis(), chart->yAxis()}) {
            auto* axis = qobject_cast<QValueAxis*>(abstractAxis);
            if (axis == nullptr) {
                continue;
            }
            QVERIFY2(axis->tickType() == QValueAxis::TicksDynamic, qPrintable(what));
            const double step = axis->tickInterval();
            QVERIFY2(isRoundStep(step), qPrintable(what + QString::number(step)));
            QVERIFY2(isMultiple(axis->tickAnchor(), step), qPrintable(what));
            const double visible = step / (axis->minorTickCount() + 1);
            QVERIFY2(isMultiple(axis->min(), visible) && isMultiple(axis->max(), visible),
                     qPrintable(what));
            QVERIFY2((axis->max() - axis->min()) / step >= 2.0 - 1e-9, qPrintable(what));
        }
        const QStringList texts = labelTexts(chart->chart());
        QVERIFY2(texts.size() >= 4, qPrintable(what));
        for (const QString& text : texts) {
            QVERIFY2(!text.contains(QChar(0x2026)) && !text.contains(QStringLiteral("...")),
                     qPrintable(what + QStringLiteral(": ") + text));
        }
    }

    std::unique_ptr<test::ScratchDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(ChartsTest)
#include "ChartsTest.moc"
