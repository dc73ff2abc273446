// What the engine tests share: a RunView that records what a run reports and
// can clear the stop flag at a chosen poll, a scratch directory, and
// measurement files written from the model itself.
#pragma once

#include "fit/IntensityModel.h"
#include "run/FitRun.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace velmora::test {

class RecordingView : public RunView {
public:
    void clearSeries(SeriesId series) override;
    void addPoints(SeriesId series, std::span<const ChartPoint> points) override;
    void clearMemo(MemoId memo) override;
    void addMemoLines(MemoId memo, std::span<const std::string> lines) override;
    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;
    bool runFlag() override;
    void setRunFlag() override { flag = true; }
    bool stopConfirmation() override;

    // The stop flag; clearAtPoll = k clears it when runFlag() is called for
    // the k-th time (0: never), and the question is answered with answerYes.
    bool flag = false;
    int clearAtPoll = 0;
    bool answerYes = false;
    int polls = 0;
    int questions = 0;
    int pollsAtQuestion = 0;

    std::map<SeriesId, std::vector<ChartPoint>> series;
    std::vector<SeriesId> cleared; // in the order the run cleared them
    std::map<MemoId, std::vector<std::string>> memos;
    std::vector<int> progress; // createProgress(maximum) recorded as -maximum - 1
    std::vector<std::string> status;
};

// A fresh, empty directory that is removed again at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
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

// Sets the text of a field.
void setField(RunInputs& inputs, Field field, std::string_view text);

// The window's defaults with the given mode, Drude, and the data file.
RunInputs inputsFor(FitMode mode, const std::string& dataFile);

} // namespace velmora::test
