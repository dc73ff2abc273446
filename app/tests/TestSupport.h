// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine tests and the window tests share: the RecordingView, a
// scratch directory, and measurement files written from the model itself.
#pragma once

#include "RecordingView.h"

#include "fit/IntensityModel.h"
#include "fit/fast/LaneWidth.h"
#include "run/FitRun.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test {

// A fresh, empty directory that is removed again at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Makes the directory the working directory until the end of the test,
    // when the previous one is restored.
    void enter();

private:
    std::filesystem::path path_;
    std::filesystem::path previous_; // the working directory before enter()
};

// Makes the fast engine score with one lane width until the end of the
// test, when the default (the widest) is restored.
class LaneWidthScope {
public:
    explicit LaneWidthScope(LaneWidth width);
    ~LaneWidthScope();
    LaneWidthScope(const LaneWidthScope&) = delete;
    LaneWidthScope& operator=(const LaneWidthScope&) = delete;
};

void writeText(const std::string& path, const std::string& text);
std::string readBytes(const std::string& path);

// One time point of a synthetic measurement: concentration times the model
// intensities of the default wavelengths at the given radius and parameters.
struct SyntheticPoint {
    double time;
    double radius;
    double concentration;
    double gam = 1.0;
    double wp = 5.6;
    double w0 = kDrudeResonance;
};

// Writes the points as a measurement file (full stop, LF line ends).
void writeMeasurement(const std::string& path, const std::vector<SyntheticPoint>& points);

// The values of a quantity the run reported over time; empty when it
// reported none.
std::vector<double> overTime(const FitResult& result, Quantity quantity);

// Sets the text of a field.
void setField(FieldInputs& inputs, Field field, std::string_view text);

// The window's defaults with the given mode, Drude, and the data file.
FieldInputs inputsFor(FitMode mode, const std::string& dataFile);

} // namespace velmora::test
