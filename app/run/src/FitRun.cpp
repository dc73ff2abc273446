// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/FitRun.h"

#include "fit/DataFile.h"
#include "fit/DirectEngine.h"
#include "fit/Fits.h"
#include "fit/IntensityCheck.h"
#include "fit/Numbers.h"
#include "fit/OutOfMemory.h"
#include "fit/Printable.h"
#include "fit/RunParameters.h"
#include "fit/RunState.h"
#include "fit/Search.h"
#include "fit/fast/FastEngine.h"
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

bool isFitMode(int mode) {
    return mode == static_cast<int>(FitMode::R) || mode == static_cast<int>(FitMode::GR1) ||
           mode == static_cast<int>(FitMode::GR2);
}

template <typename Engine> void runModeFit(RunState& run, Engine& engine) {
    switch (static_cast<FitMode>(run.inputs.fitMode)) {
    case FitMode::R:
        runRadiusFit(run, engine);
        break;
    case FitMode::GR1:
        runFreePlasmaFit(run, engine);
        break;
    case FitMode::GR2:
        runPolarizationFit(run, engine);
        break;
    default:
        break;
    }
}

void runSelectedFit(RunState& run, EngineKind kind) {
    if (!isFitMode(run.inputs.fitMode)) {
        return;
    }
    if (kind == EngineKind::Direct) {
        DirectEngine engine;
        runModeFit(run, engine);
    } else {
        FastEngine engine(run.params);
        runModeFit(run, engine);
    }
}

} // namespace

RunResult runFit(const RunInputs& inputs, RunView& view, EngineKind engine) {
    view.setRunFlag();
    view.clearMemo(MemoId::Memo1);
    RunState run{inputs, view, parseRunParameters(inputs), {}, {}};
    run.table = withMemoryFor("reading " + printable(inputs.dataFile),
                              [&] { return ReadDataFile(inputs.dataFile); });
    for (const std::string& warning : nonPositiveIntensityWarnings(run.table, inputs.dataFile)) {
        view.warn(warning);
    }
    withMemoryFor(gridWords(run.params.N),
                  [&] { allocateResults(run.result, run.table.lineCount(), run.params.N); });
    for (int t = 1; t <= run.timePoints(); ++t) {
        run.result.T[t] = run.table.field(t - 1, 1);
    }
    drawMeasuredData(run);
    clearResultSeries(view);
    if (isFitMode(inputs.fitMode) && inputs.dielectric == static_cast<int>(Dielectric::None)) {
        throw RunError("Choose a dielectric function (Drude or Lorents) before fitting");
    }
    try {
        withMemoryFor("the fit over " + gridWords(run.params.N),
                      [&] { runSelectedFit(run, engine); });
    } catch (const RunStopped&) {
        run.result.completed = false;
        return std::move(run.result);
    }
    withMemoryFor("the result tables", [&] { runResultsStage(run); });
    run.result.completed = true;
    return std::move(run.result);
}

} // namespace velmora
