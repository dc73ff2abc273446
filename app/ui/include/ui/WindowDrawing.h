// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of a run: notes the run's reports per chart series and
// memo field, and shows them in slices. A slice replaces the points of each
// series that changed once (never appending point by point, which makes the
// chart lay out every mark again for every point), fills the memos that
// changed, and fits the touched charts' axes to their points; it starts no
// new piece once its budget is spent and leaves the rest to the next slice.
// Progress and status text are shown at once.
#pragma once

#include "ui/RunDisplay.h"

#include <QList>
#include <QPointF>
#include <QStringList>

#include <functional>
#include <map>
#include <set>

class QPlainTextEdit;
class QXYSeries;

namespace velmora::ui {

class ChartPanel;
class StatusPanels;
class TableField;

class WindowDrawing final : public RunDisplay {
public:
    explicit WindowDrawing(StatusPanels& statusBar);

    void registerSeries(SeriesId id, QXYSeries* series, ChartPanel* chart);
    // A memo's lines go to a plain-text field or to a table.
    void registerMemo(MemoId id, QPlainTextEdit* memo);
    void registerMemo(MemoId id, TableField* table);

    void clearSeries(SeriesId series) override;
    void addPoints(SeriesId series, std::span<const ChartPoint> points) override;
    void clearMemo(MemoId memo) override;
    void addMemoLines(MemoId memo, std::span<const std::string> lines) override;
    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;
    void addWarning(const std::string& message) override;
    bool show(std::chrono::milliseconds budget) override;

private:
    struct SeriesTarget {
        QXYSeries* series;
        ChartPanel* chart;
        QList<QPointF> points; // every point reported since the last clear
        Colour colour = Colour::Red;
    };
    struct MemoTarget {
        std::function<void()> clear;
        std::function<void(const QStringList&)> append;
        bool cleared = false;
        QStringList lines; // reported since the memo was last shown
    };

    SeriesTarget& seriesTarget(SeriesId id);
    MemoTarget& memoTarget(MemoId id);
    void showSeries(SeriesTarget& target);
    static void showMemo(MemoTarget& target);

    StatusPanels& statusBar_;
    std::map<SeriesId, SeriesTarget> series_;
    std::map<MemoId, MemoTarget> memos_;
    std::set<SeriesId> changedSeries_;
    std::set<MemoId> changedMemos_;
    std::set<ChartPanel*> chartsToFit_;
};

} // namespace velmora::ui
