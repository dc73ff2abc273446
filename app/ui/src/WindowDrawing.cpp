// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowDrawing.h"

#include "ui/ChartPanel.h"
#include "ui/SeriesColours.h"
#include "ui/StatusPanels.h"

#include <QList>
#include <QPlainTextEdit>
#include <QPointF>
#include <QStringList>
#include <QXYSeries>

#include <algorithm>
#include <stdexcept>

namespace velmora::ui {

WindowDrawing::WindowDrawing(StatusPanels& statusBar) : statusBar_(statusBar) {}

void WindowDrawing::registerSeries(SeriesId id, QXYSeries* series, ChartPanel* chart) {
    series_[id] = Target{series, chart};
}

void WindowDrawing::registerMemo(MemoId id, QPlainTextEdit* memo) {
    memos_[id] = memo;
}

const WindowDrawing::Target& WindowDrawing::target(SeriesId id) const {
    const auto found = series_.find(id);
    if (found == series_.end()) {
        throw std::logic_error("a run reported a series the window does not have");
    }
    return found->second;
}

QPlainTextEdit* WindowDrawing::memo(MemoId id) const {
    const auto found = memos_.find(id);
    if (found == memos_.end()) {
        throw std::logic_error("a run reported a memo the window does not have");
    }
    return found->second;
}

void WindowDrawing::clearSeries(SeriesId id) {
    const Target& t = target(id);
    t.series->clear();
    touched_.insert(t.chart);
}

void WindowDrawing::addPoints(SeriesId id, std::span<const ChartPoint> points) {
    if (points.empty()) {
        return;
    }
    const Target& t = target(id);
    QList<QPointF> all = t.series->points();
    const qsizetype previous = all.size();
    all.reserve(previous + static_cast<qsizetype>(points.size()));
    for (const ChartPoint& point : points) {
        all.append(QPointF(point.x, point.y));
    }
    // The points of one series share their colour: the wavelength's, or the
    // fit result's.
    paintSeries(t.series, points.front().colour);
    // A series keeps its points in ascending x, so that a line never
    // zig-zags back; points of equal x keep the order they came in.
    const auto byX = [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); };
    if (std::is_sorted(all.begin(), all.end(), byX)) {
        t.series->append(all.mid(previous));
    } else {
        std::stable_sort(all.begin(), all.end(), byX);
        t.series->replace(all);
    }
    touched_.insert(t.chart);
}

void WindowDrawing::clearMemo(MemoId id) {
    memo(id)->clear();
}

void WindowDrawing::addMemoLines(MemoId id, std::span<const std::string> lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        text.append(QString::fromStdString(line));
    }
    if (!text.isEmpty()) {
        memo(id)->appendPlainText(text.join(QLatin1Char('\n')));
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

void WindowDrawing::finishBatch() {
    for (ChartPanel* chart : touched_) {
        chart->rescale();
    }
    touched_.clear();
}

} // namespace velmora::ui
