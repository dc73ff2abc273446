// SPDX-License-Identifier: GPL-3.0-or-later
// The window's vocabulary for showing a run: its chart series, memo fields,
// colours and the drawing calls a run's reports become (ResultDrawing.h maps
// a run's start and FitResult to them). Plain C++, so that a recording of the
// calls needs no window.
#pragma once

#include <span>
#include <string>

namespace velmora::ui {

enum class Colour { Blue, Green, Yellow, Red };

// Every chart series of the window a run fills.
enum class SeriesId {
    // "Experimental data": V and H of wavelengths 1..4 (Series1 = V at 1).
    Series1,
    Series2,
    Series3,
    Series4,
    Series5,
    Series6,
    Series7,
    Series8,
    Series9,     // "Evolution of claster radius"
    LineSeries2, // "Evolution of claster concentration" (logarithmic axis)
    LineSeries3, // "Non-agreement factor"
    Series14,    // "Time evolution of Wp"
    Series15,    // "Time evolution of gamma"
    // "Plasmon resonances (Mie theory prediction)": columns 1..8 of Model.
    Series16,
    Series17,
    Series18,
    Series19,
    Series20,
    Series21,
    Series22,
    Series23,
    // Further page-3 series, cleared with the results and never filled.
    Series24,
    Series25,
    Series26,
    Series27,
    Series28,
    Series29,
    // The "Intensity results" window: normalised V and H against radius.
    IntensitySeries1,
    IntensitySeries2,
    IntensitySeries3,
    IntensitySeries4,
    IntensitySeries5,
    IntensitySeries6,
    IntensitySeries7,
    IntensitySeries8,
    // The refined values less and plus their standard errors, dashed beside
    // the radius, plasma energy and damping series.
    RadiusLow,
    RadiusHigh,
    PlasmaEnergyLow,
    PlasmaEnergyHigh,
    DampingLow,
    DampingHigh,
};

inline SeriesId seriesAt(SeriesId first, int offset) {
    return static_cast<SeriesId>(static_cast<int>(first) + offset);
}

enum class MemoId {
    Memo1,          // "Fit data" page, left: ResultTable
    Memo2,          // "Fit data" page, right: ResonanceTable
    IntensityMemo1, // "Intensity results" window: V peaks
    IntensityMemo2, // "Intensity results" window: H peaks
};

struct ChartPoint {
    double x;
    double y;
    Colour colour;
};

// What the window draws and writes for a run: chart series, memo lines, the
// progress bar and the status text.
class RunDrawing {
public:
    virtual ~RunDrawing() = default;

    virtual void clearSeries(SeriesId series) = 0;
    // Appends points in order; a run may hand over one point or many at once.
    virtual void addPoints(SeriesId series, std::span<const ChartPoint> points) = 0;

    virtual void clearMemo(MemoId memo) = 0;
    virtual void addMemoLines(MemoId memo, std::span<const std::string> lines) = 0;

    // The progress bar: created with its maximum, then moved.
    virtual void createProgress(int maximum) = 0;
    virtual void setProgress(int position) = 0;

    // Status-bar panel text (panel 2 shows the pass of the fit).
    virtual void setStatusText(int panel, const std::string& text) = 0;

    // A warning of the run that does not end it (a line of the measurement
    // whose intensities are not positive); a drawing with no place for
    // warnings leaves it out.
    virtual void addWarning(const std::string& message) { static_cast<void>(message); }
};

} // namespace velmora::ui
