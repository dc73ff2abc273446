// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/FitRun.h"

#include "fit/DataFile.h"
#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/Numbers.h"
#include "fit/OutOfMemory.h"
#include "fit/Printable.h"
#include "fit/RunParameters.h"
#include "fit/RunState.h"
#include "fit/Search.h"
#include "results/ResultsStage.h"

namespace velmora {

namespace {

void allocateResults(RunResult& r, int points, int n) {
    r.timePoints = points;
    for (std::vector<double>* a :
         {&r.T, &r.Rfit, &r.Conc, &r.VxFit, &r.GamFit, &r.WpFit, &r.GamSpread}) {
        a->assign(points + 1, 0.0);
    }
    r.Model.assign(std::max(n, 0) + 1, {});
    r.Norm.assign(points + 1, {});
}

std::string gridWords(int n) {
    return "a radius grid of " + std::to_string(n) + " steps";
}

void drawMeasuredData(RunState& run) {
    for (int c = 0; c < 2 * kWavelengths; ++c) {
        run.view.clearSeries(seriesAt(SeriesId::Series1, c));
    }
    for (int k = 1; k <= kWavelengths; ++k) {
        std::vector<ChartPoint> v;
        std::vector<ChartPoint> h;
        for (int t = 1; t <= run.timePoints(); ++t) {
            v.push_back({run.result.T[t], run.measuredV(t, k), wavelengthColour(k)});
            h.push_back({run.result.T[t], run.measuredH(t, k), wavelengthColour(k)});
        }
        run.view.addPoints(seriesAt(SeriesId::Series1, 2 * k - 2), v);
        run.view.addPoints(seriesAt(SeriesId::Series1, 2 * k - 1), h);
    }
}

void clearResultSeries(RunView& view) {
    view.clearSeries(SeriesId::LineSeries2);
    view.clearSeries(SeriesId::LineSeries3);
    view.clearSeries(SeriesId::Series9);
    view.clearSeries(SeriesId::Series14);
    view.clearSeries(SeriesId::Series15);
    for (int c = 0; c < 8; ++c) {
        view.clearSeries(seriesAt(SeriesId::Series16, c));
    }
    for (int c = 0; c < 6; ++c) {
        view.clearSeries(seriesAt(SeriesId::Series24, c));
    }
}

} // namespace

RunResult runFit(const FitSettings& settings, const std::string& dataFile, RunView& view,
                 EngineKind engine) {
    if (const auto refusal = refusalOf(settings)) {
        throw RunError(refusalMessage(*refusal, "a setting"));
    }
    view.setRunFlag();
    view.clearMemo(MemoId::Memo1);
    RunState run{settings, view, runParameters(settings), {}, {}};
    run.table =
        withMemoryFor("reading " + printable(dataFile), [&] { return ReadDataFile(dataFile); });
    withMemoryFor(gridWords(run.params.N),
                  [&] { allocateResults(run.result, run.table.lineCount(), run.params.N); });
    for (int t = 1; t <= run.timePoints(); ++t) {
        run.result.T[t] = run.table.field(t - 1, 1);
    }
    drawMeasuredData(run);
    clearResultSeries(view);
    try {
        withMemoryFor("the fit over " + gridWords(run.params.N), [&] { runModeFit(run, engine); });
    } catch (const RunStopped&) {
        run.result.completed = false;
        return std::move(run.result);
    }
    withMemoryFor("the result tables", [&] { runResultsStage(run); });
    run.result.completed = true;
    return std::move(run.result);
}

RunResult runFit(const FieldInputs& inputs, RunView& view, EngineKind engine) {
    return runFit(settingsFromFields(inputs), inputs.dataFile, view, engine);
}

} // namespace velmora
