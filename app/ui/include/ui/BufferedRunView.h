// SPDX-License-Identifier: GPL-3.0-or-later
// The RunView a run on the worker thread reports to. Its reports become
// drawing calls (the start of the fit draws the measurement, progress moves
// the bar, a pass label goes to status panel 2, and the worker draws the
// FitResult through the same calls), which are queued under a mutex and
// handed over in batches on the user-interface thread (drain), as often as
// the window draws, however fast the run reports. The stop flag is an atomic
// the Stop action clears; the stop question is put to the user-interface
// thread and the run waits for the answer. The flag is set on the
// user-interface thread when the run starts; the run's own setting of it
// before any stop question is therefore left out, so that a Stop pressed at
// once is not lost.
#pragma once

#include "fit/RunView.h"
#include "ui/RunDisplay.h"
#include "ui/RunDrawing.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

namespace velmora::ui {

class BufferedRunView final : public RunView, public RunDrawing {
public:
    // askStop is called on the worker thread; it must return the user's
    // answer to the stop question (true = Yes) once given.
    BufferedRunView(std::atomic<bool>& runFlag, std::function<bool()> askStop);

    void started(const FitResult& measurement) override;
    void advanced(int done, int total) override;
    void passLabel(const std::string& label) override;
    void warn(const std::string& message) override;

    void clearSeries(SeriesId series) override;
    void addPoints(SeriesId series, std::span<const ChartPoint> points) override;
    void clearMemo(MemoId memo) override;
    void addMemoLines(MemoId memo, std::span<const std::string> lines) override;
    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;
    void addWarning(const std::string& message) override;
    bool runFlag() override;
    int pollsWhileSet(int count) override;
    void setRunFlag() override;
    bool stopConfirmation() override;

    // The run accepted its settings and went on to read the measurement.
    bool begun() const { return begun_.load(); }
    // The measurement file was read.
    bool measurementRead() const { return measurementRead_.load(); }

    // Hands everything queued so far to the display, in the order reported.
    // Returns false when nothing was queued.
    bool drain(RunDrawing& display);

private:
    struct ClearSeries {
        SeriesId series;
    };
    struct AddPoints {
        SeriesId series;
        std::vector<ChartPoint> points;
    };
    struct ClearMemo {
        MemoId memo;
    };
    struct AddMemoLines {
        MemoId memo;
        std::vector<std::string> lines;
    };
    struct CreateProgress {
        int maximum;
    };
    struct SetProgress {
        int position;
    };
    struct SetStatusText {
        int panel;
        std::string text;
    };
    struct AddWarning {
        std::string message;
    };
    using Report = std::variant<ClearSeries, AddPoints, ClearMemo, AddMemoLines, CreateProgress,
                                SetProgress, SetStatusText, AddWarning>;

    static void replay(const Report& report, RunDrawing& display);

    std::atomic<bool>& runFlag_;
    std::function<bool()> askStop_;
    std::atomic<bool> asked_{false};
    std::atomic<bool> begun_{false};
    std::atomic<bool> measurementRead_{false};
    int shownTotal_ = 0; // the progress bar's maximum, once created
    std::mutex mutex_;
    std::vector<Report> queued_;
};

} // namespace velmora::ui
