// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BufferedRunView.h"

#include "ui/ResultDrawing.h"

#include <utility>

namespace velmora::ui {

namespace {

template <class... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };

} // namespace

BufferedRunView::BufferedRunView(std::atomic<bool>& runFlag, std::function<bool()> askStop)
    : runFlag_(runFlag), askStop_(std::move(askStop)) {}

void BufferedRunView::started(const FitResult& measurement) {
    measurementRead_.store(true);
    drawMeasurement(*this, measurement);
}

void BufferedRunView::advanced(int done, int total) {
    if (total != shownTotal_) {
        shownTotal_ = total;
        createProgress(total);
    }
    setProgress(done);
}

// The leading tab centres the label in its panel.
void BufferedRunView::passLabel(const std::string& label) {
    setStatusText(2, label.empty() ? label : '\t' + label);
}

void BufferedRunView::warn(const std::string& message) {
    addWarning(message);
}

void BufferedRunView::clearSeries(SeriesId series) {
    std::scoped_lock lock(mutex_);
    queued_.emplace_back(ClearSeries{series});
}

void BufferedRunView::addPoints(SeriesId series, std::span<const ChartPoint> points) {
    std::scoped_lock lock(mutex_);
    // Consecutive points of one series travel as one batch.
    if (!queued_.empty()) {
        if (auto* last = std::get_if<AddPoints>(&queued_.back()); last && last->series == series) {
            last->points.insert(last->points.end(), points.begin(), points.end());
            return;
        }
    }
    queued_.emplace_back(AddPoints{series, {points.begin(), points.end()}});
}

void BufferedRunView::clearMemo(MemoId memo) {
    std::scoped_lock lock(mutex_);
    queued_.emplace_back(ClearMemo{memo});
}

void BufferedRunView::addMemoLines(MemoId memo, std::span<const std::string> lines) {
    std::scoped_lock lock(mutex_);
    if (!queued_.empty()) {
        if (auto* last = std::get_if<AddMemoLines>(&queued_.back()); last && last->memo == memo) {
            last->lines.insert(last->lines.end(), lines.begin(), lines.end());
            return;
        }
    }
    queued_.emplace_back(AddMemoLines{memo, {lines.begin(), lines.end()}});
}

void BufferedRunView::createProgress(int maximum) {
    std::scoped_lock lock(mutex_);
    queued_.emplace_back(CreateProgress{maximum});
}

void BufferedRunView::setProgress(int position) {
    std::scoped_lock lock(mutex_);
    // Only the latest position of a run of moves is worth showing.
    if (!queued_.empty()) {
        if (auto* last = std::get_if<SetProgress>(&queued_.back())) {
            last->position = position;
            return;
        }
    }
    queued_.emplace_back(SetProgress{position});
}

void BufferedRunView::setStatusText(int panel, const std::string& text) {
    std::scoped_lock lock(mutex_);
    queued_.emplace_back(SetStatusText{panel, text});
}

void BufferedRunView::addWarning(const std::string& message) {
    std::scoped_lock lock(mutex_);
    queued_.emplace_back(AddWarning{message});
}

bool BufferedRunView::runFlag() {
    return runFlag_.load();
}

// The flag is read once for the whole row of questions: a Stop that comes
// while they are asked is met by the next stop test, as it would be when it
// came just after them.
int BufferedRunView::pollsWhileSet(int count) {
    return runFlag_.load() ? count : 0;
}

// A run sets the flag first once its settings are accepted.
void BufferedRunView::setRunFlag() {
    begun_.store(true);
    if (asked_.load()) {
        runFlag_.store(true);
    }
}

bool BufferedRunView::stopConfirmation() {
    asked_.store(true);
    return askStop_();
}

bool BufferedRunView::drain(RunDrawing& display) {
    std::vector<Report> reports;
    {
        std::scoped_lock lock(mutex_);
        reports.swap(queued_);
    }
    if (reports.empty()) {
        return false;
    }
    for (const auto& report : reports) {
        replay(report, display);
    }
    return true;
}

void BufferedRunView::replay(const Report& report, RunDrawing& display) {
    std::visit(Overloaded{
                   [&](const ClearSeries& r) { display.clearSeries(r.series); },
                   [&](const AddPoints& r) { display.addPoints(r.series, r.points); },
                   [&](const ClearMemo& r) { display.clearMemo(r.memo); },
                   [&](const AddMemoLines& r) { display.addMemoLines(r.memo, r.lines); },
                   [&](const CreateProgress& r) { display.createProgress(r.maximum); },
                   [&](const SetProgress& r) { display.setProgress(r.position); },
                   [&](const SetStatusText& r) { display.setStatusText(r.panel, r.text); },
                   [&](const AddWarning& r) { display.addWarning(r.message); },
               },
               report);
}

} // namespace velmora::ui
