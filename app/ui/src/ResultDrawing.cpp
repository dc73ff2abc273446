// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ResultDrawing.h"

#include <cmath>
#include <vector>

namespace velmora::ui {

namespace {

// Where each quantity a mode fits over time is shown, and in which colour.
struct QuantityPlot {
    Quantity quantity;
    SeriesId series;
    Colour colour;
};

constexpr QuantityPlot kQuantityPlots[] = {
    {Quantity::Radius, SeriesId::Series9, Colour::Red},
    {Quantity::Concentration, SeriesId::LineSeries2, Colour::Red},
    {Quantity::NonAgreement, SeriesId::LineSeries3, Colour::Red},
    {Quantity::DampingSpread, SeriesId::LineSeries3, Colour::Red},
    {Quantity::Damping, SeriesId::Series15, Colour::Red},
    {Quantity::MeanDamping, SeriesId::Series15, Colour::Blue},
    {Quantity::PlasmaEnergy, SeriesId::Series14, Colour::Red},
};

// The colour of channel c's wavelength: blue, green, yellow, red. Every
// chart and the "Intensity results" window paint a channel in its
// wavelength's colour; V and H differ in shape (SeriesColours.h).
Colour wavelengthColour(int channel) {
    constexpr Colour colours[] = {Colour::Blue, Colour::Green, Colour::Yellow, Colour::Red};
    return colours[channel / 2];
}

const QuantityPlot& plotOf(Quantity quantity) {
    for (const QuantityPlot& plot : kQuantityPlots) {
        if (plot.quantity == quantity) {
            return plot;
        }
    }
    return kQuantityPlots[0];
}

constexpr int kChannels = 2 * kWavelengths;

// The estimate of a time point each band follows.
struct ErrorBand {
    Estimate TimePointEstimates::*estimate;
    SeriesId low;
    SeriesId high;
};

constexpr ErrorBand kErrorBands[] = {
    {&TimePointEstimates::radius, SeriesId::RadiusLow, SeriesId::RadiusHigh},
    {&TimePointEstimates::plasmaEnergy, SeriesId::PlasmaEnergyLow, SeriesId::PlasmaEnergyHigh},
    {&TimePointEstimates::damping, SeriesId::DampingLow, SeriesId::DampingHigh},
};

// value -/+ standard error at every time point that has one (a refined
// free parameter); fixed values and grid winners have none.
void drawErrorBands(RunDrawing& drawing, const FitResult& result) {
    for (const ErrorBand& band : kErrorBands) {
        std::vector<ChartPoint> low;
        std::vector<ChartPoint> high;
        for (std::size_t i = 0; i < result.estimates.size(); ++i) {
            const Estimate& e = result.estimates[i].*band.estimate;
            if (std::isfinite(e.value) && std::isfinite(e.standardError)) {
                const double t = result.time(static_cast<int>(i));
                low.push_back({t, e.value - e.standardError, Colour::Red});
                high.push_back({t, e.value + e.standardError, Colour::Red});
            }
        }
        drawing.addPoints(band.low, low);
        drawing.addPoints(band.high, high);
    }
}

void addLines(RunDrawing& drawing, MemoId memo, const std::vector<std::string>& lines) {
    if (!lines.empty()) {
        drawing.addMemoLines(memo, lines);
    }
}

} // namespace

// The start of a run clears every result the run replaces, so that a run
// that is stopped or fails shows (and saves) none of the previous run's.
void drawMeasurement(RunDrawing& drawing, const FitResult& measurement) {
    for (const MemoId memo :
         {MemoId::Memo1, MemoId::Memo2, MemoId::IntensityMemo1, MemoId::IntensityMemo2}) {
        drawing.clearMemo(memo);
    }
    for (int c = 0; c < kChannels; ++c) {
        drawing.clearSeries(seriesAt(SeriesId::Series1, c));
    }
    for (int c = 0; c < kChannels; ++c) {
        std::vector<ChartPoint> points;
        for (int i = 0; i < measurement.timePoints; ++i) {
            points.push_back(
                {measurement.time(i), measurement.measured[i][c], wavelengthColour(c)});
        }
        drawing.addPoints(seriesAt(SeriesId::Series1, c), points);
    }
    for (const SeriesId series : {SeriesId::LineSeries2, SeriesId::LineSeries3, SeriesId::Series9,
                                  SeriesId::Series14, SeriesId::Series15}) {
        drawing.clearSeries(series);
    }
    for (int c = 0; c < kChannels; ++c) {
        drawing.clearSeries(seriesAt(SeriesId::Series16, c));
    }
    for (int c = 0; c < 6; ++c) {
        drawing.clearSeries(seriesAt(SeriesId::Series24, c));
    }
    for (const ErrorBand& band : kErrorBands) {
        drawing.clearSeries(band.low);
        drawing.clearSeries(band.high);
    }
    for (int c = 0; c < kChannels; ++c) {
        drawing.clearSeries(seriesAt(SeriesId::IntensitySeries1, c));
    }
}

void drawResult(RunDrawing& drawing, const FitResult& result) {
    for (const TimeSeries& series : result.overTime) {
        const QuantityPlot& plot = plotOf(series.quantity);
        std::vector<ChartPoint> points;
        for (int i = 0; i < result.timePoints; ++i) {
            points.push_back({result.time(i), series.values[i], plot.colour});
        }
        drawing.addPoints(plot.series, points);
    }
    drawErrorBands(drawing, result);
    for (int c = 0; c < kChannels; ++c) {
        std::vector<ChartPoint> points;
        for (std::size_t i = 0; i < result.predictionRadii.size(); ++i) {
            points.push_back(
                {result.predictionRadii[i], result.Model[i + 1][c], wavelengthColour(c)});
        }
        drawing.addPoints(seriesAt(SeriesId::Series16, c), points);
    }
    // The normalised intensities against the fitted radius, from the second
    // time point on.
    for (int c = 0; c < kChannels; ++c) {
        drawing.clearSeries(seriesAt(SeriesId::IntensitySeries1, c));
        std::vector<ChartPoint> points;
        for (int t = 2; t <= result.timePoints; ++t) {
            points.push_back({result.Rfit[t], result.Norm[t][c], wavelengthColour(c)});
        }
        drawing.addPoints(seriesAt(SeriesId::IntensitySeries1, c), points);
    }
    for (const MemoId memo : {MemoId::IntensityMemo1, MemoId::Memo2, MemoId::IntensityMemo2}) {
        drawing.clearMemo(memo);
    }
    addLines(drawing, MemoId::IntensityMemo1, result.vPeakTable);
    addLines(drawing, MemoId::IntensityMemo2, result.hPeakTable);
    addLines(drawing, MemoId::Memo2, result.ResonanceTable);
    addLines(drawing, MemoId::Memo1, result.ResultTable);
}

} // namespace velmora::ui
