// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of a run: carries the run's reports into the chart
// series, memo fields and status bar they name, and keeps the touched charts'
// axes fitted to their points.
#pragma once

#include "ui/RunDisplay.h"

#include <map>
#include <set>

class QPlainTextEdit;
class QXYSeries;

namespace velmora::ui {

class ChartPanel;
class StatusPanels;

class WindowDrawing final : public RunDisplay {
public:
    explicit WindowDrawing(StatusPanels& statusBar);

    void registerSeries(SeriesId id, QXYSeries* series, ChartPanel* chart);
    void registerMemo(MemoId id, QPlainTextEdit* memo);

    void clearSeries(SeriesId series) override;
    void addPoints(SeriesId series, std::span<const ChartPoint> points) override;
    void clearMemo(MemoId memo) override;
    void addMemoLines(MemoId memo, std::span<const std::string> lines) override;
    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;
    void finishBatch() override;

private:
    struct Target {
        QXYSeries* series;
        ChartPanel* chart;
    };

    const Target& target(SeriesId id) const;
    QPlainTextEdit* memo(MemoId id) const;

    StatusPanels& statusBar_;
    std::map<SeriesId, Target> series_;
    std::map<MemoId, QPlainTextEdit*> memos_;
    std::set<ChartPanel*> touched_;
};

} // namespace velmora::ui
