// SPDX-License-Identifier: GPL-3.0-or-later
// What a fit run reports to whoever shows it: the window, the batch program
// and the tests each implement this interface. A run calls it from the
// thread it runs on; an implementation that draws on another thread
// marshals the calls itself.
#pragma once

#include <span>
#include <string>

namespace velmora {

enum class Colour { Blue, Green, Yellow, Red, Aqua, Teal, Lime, Purple };

// Every series a run writes, named after the window's chart series.
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

// What a run draws and writes: chart series, memo lines, the progress bar
// and the status text.
class RunDrawing {
public:
    virtual ~RunDrawing() = default;

    virtual void clearSeries(SeriesId series) = 0;
    // Appends points in order; a run may hand over one point or many at once.
    virtual void addPoints(SeriesId series, std::span<const ChartPoint> points) = 0;

    virtual void clearMemo(MemoId memo) = 0;
    virtual void addMemoLines(MemoId memo, std::span<const std::string> lines) = 0;

    // A fitting pass creates a progress bar with the given maximum, moves it
    // and leaves it at 0 when the pass ends.
    virtual void createProgress(int maximum) = 0;
    virtual void setProgress(int position) = 0;

    // Status-bar panel text (panel 2 shows the wavelength of the
    // polarisation pass).
    virtual void setStatusText(int panel, const std::string& text) = 0;
};

// The drawing of a run together with its control: the stop flag and the
// stop question.
class RunView : public RunDrawing {
public:
    // The program-wide stop flag: set when a run starts, cleared by Stop.
    virtual bool runFlag() = 0;
    // Asks runFlag up to `count` times in a row and stops at the first
    // false; returns how many answered true. A view whose flag cannot change
    // between two of those questions in any way the run could tell answers
    // them all at once.
    virtual int pollsWhileSet(int count) {
        for (int n = 0; n < count; ++n) {
            if (!runFlag()) {
                return n;
            }
        }
        return count;
    }
    virtual void setRunFlag() = 0;

    // Asked when a fit finds the stop flag cleared. True (Yes) abandons the
    // run; false (No) sets the flag again and the fit goes on.
    virtual bool stopConfirmation() = 0;

    // A warning that does not end the run, such as a line of the measurement
    // whose intensities no sphere can give. A view that has no place for
    // warnings leaves them out.
    virtual void warn(const std::string& message) { static_cast<void>(message); }
};

} // namespace velmora
