// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowDrawing.h"

#include "ui/ChartPanel.h"
#include "ui/SeriesColours.h"
#include "ui/StatusPanels.h"
#include "ui/TableField.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QXYSeries>

#include <algorithm>
#include <stdexcept>

namespace velmora::ui {

WindowDrawing::WindowDrawing(StatusPanels& statusBar) : statusBar_(statusBar) {}

void WindowDrawing::registerSeries(SeriesId id, QXYSeries* series, ChartPanel* chart) {
    series_.insert_or_assign(id, SeriesTarget{series, chart, {}});
}

void WindowDrawing::registerMemo(MemoId id, QPlainTextEdit* memo) {
    memos_.insert_or_assign(id, MemoTarget{[memo] { memo->clear(); },
                                           [memo](const QStringList& lines) {
                                               memo->appendPlainText(lines.join(QLatin1Char('\n')));
                                           },
                                           false,
                                           {}});
}

void WindowDrawing::registerMemo(MemoId id, TableField* table) {
    memos_.insert_or_assign(
        id, MemoTarget{[table] { table->clearLines(); },
                       [table](const QStringList& lines) { table->appendLines(lines); },
                       false,
                       {}});
}

WindowDrawing::SeriesTarget& WindowDrawing::seriesTarget(SeriesId id) {
    const auto found = series_.find(id);
    if (found == series_.end()) {
        throw std::logic_error("a run reported a series the window does not have");
    }
    changedSeries_.insert(id);
    return found->second;
}

WindowDrawing::MemoTarget& WindowDrawing::memoTarget(MemoId id) {
    const auto found = memos_.find(id);
    if (found == memos_.end()) {
        throw std::logic_error("a run reported a memo the window does not have");
    }
    changedMemos_.insert(id);
    return found->second;
}

void WindowDrawing::clearSeries(SeriesId id) {
    seriesTarget(id).points.clear();
}

void WindowDrawing::addPoints(SeriesId id, std::span<const ChartPoint> points) {
    if (points.empty()) {
        return;
    }
    SeriesTarget& target = seriesTarget(id);
    target.points.reserve(target.points.size() + static_cast<qsizetype>(points.size()));
    for (const ChartPoint& point : points) {
        target.points.append(QPointF(point.x, point.y));
    }
    // The points of one series share their colour: the wavelength's, or the
    // fit result's.
    target.colour = points.front().colour;
}

void WindowDrawing::clearMemo(MemoId id) {
    MemoTarget& target = memoTarget(id);
    target.cleared = true;
    target.lines.clear();
}

void WindowDrawing::addMemoLines(MemoId id, std::span<const std::string> lines) {
    MemoTarget& target = memoTarget(id);
    for (const std::string& line : lines) {
        target.lines.append(QString::fromStdString(line));
    }
}

void WindowDrawing::createProgress(int maximum) {
    statusBar_.createProgress(maximum);
}

void WindowDrawing::setProgress(int position) {
    statusBar_.setProgress(position);
}

void WindowDrawing::setStatusText(int panel, const std::string& text) {
    statusBar_.setPanelText(panel, QString::fromStdString(text));
}

void WindowDrawing::addWarning(const std::string& message) {
    statusBar_.addWarning(QString::fromStdString(message));
}

void WindowDrawing::showSeries(SeriesTarget& target) {
    if (!target.points.isEmpty()) {
        paintSeries(target.series, target.colour);
    }
    // A series keeps its points in ascending x, so that a line never
    // zig-zags back; points of equal x keep the order they came in.
    const auto byX = [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); };
    if (!std::is_sorted(target.points.begin(), target.points.end(), byX)) {
        std::stable_sort(target.points.begin(), target.points.end(), byX);
    }
    target.series->replace(target.points);
    chartsToFit_.insert(target.chart);
}

void WindowDrawing::showMemo(MemoTarget& target) {
    if (target.cleared) {
        target.clear();
        target.cleared = false;
    }
    if (!target.lines.isEmpty()) {
        target.append(target.lines);
        target.lines.clear();
    }
}

bool WindowDrawing::show(std::chrono::milliseconds budget) {
    QElapsedTimer clock;
    clock.start();
    const auto spent = [&] { return clock.elapsed() >= budget.count(); };
    while (!changedSeries_.empty()) {
        if (spent()) {
            return false;
        }
        showSeries(series_.at(*changedSeries_.begin()));
        changedSeries_.erase(changedSeries_.begin());
    }
    while (!changedMemos_.empty()) {
        if (spent()) {
            return false;
        }
        showMemo(memos_.at(*changedMemos_.begin()));
        changedMemos_.erase(changedMemos_.begin());
    }
    while (!chartsToFit_.empty()) {
        if (spent()) {
            return false;
        }
        ChartPanel* chart = *chartsToFit_.begin();
        chartsToFit_.erase(chartsToFit_.begin());
        chart->rescale();
    }
    return true;
}

} // namespace velmora::ui
