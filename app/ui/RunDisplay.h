// The drawing half of a run's reports, carried out on the user-interface
// thread: what the window does with the series points, memo lines, progress
// and status text a run hands over.
#pragma once

#include "RunView.h"

#include <span>
#include <string>

namespace velmora::ui {

class RunDisplay {
public:
    virtual ~RunDisplay() = default;

    virtual void clearSeries(SeriesId series) = 0;
    virtual void addPoints(SeriesId series, std::span<const ChartPoint> points) = 0;
    virtual void clearMemo(MemoId memo) = 0;
    virtual void addMemoLines(MemoId memo, std::span<const std::string> lines) = 0;
    virtual void createProgress(int maximum) = 0;
    virtual void setProgress(int position) = 0;
    virtual void setStatusText(int panel, const std::string& text) = 0;
    // Called after a batch of the calls above, once per screen update.
    virtual void finishBatch() = 0;
};

} // namespace velmora::ui
