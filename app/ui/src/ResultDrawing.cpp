// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ResultDrawing.h"

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
