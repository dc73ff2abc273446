// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/FitRun.h"

#include "fit/DataFile.h"
#include "fit/FitEngine.h"
#include "fit/IntensityCheck.h"
#include "fit/Numbers.h"
#include "fit/OutOfMemory.h"
#include "fit/Printable.h"
#include "fit/RunParameters.h"
#include "fit/RunState.h"
#include "fit/Search.h"
#include "fit/WinnerRefinement.h"
#include "results/ResultsStage.h"

namespace velmora {

namespace {

void allocateResults(FitResult& r, int points, int n) {
    r.timePoints = points;
    for (std::vector<double>* a :
         {&r.T, &r.Rfit, &r.Conc, &r.VxFit, &r.GamFit, &r.WpFit, &r.GamSpread, &r.SigmaFit}) {
        a->assign(points + 1, 0.0);
    }
    r.Model.assign(std::max(n, 0) + 1, {});
    r.Norm.assign(points + 1, {});
    r.measured.assign(points, {});
}

std::string gridWords(int n) {
    return "a radius grid of " + std::to_string(n) + " steps";
}

} // namespace

FitResult runFit(const FitSettings& settings, const std::string& dataFile, RunView& view,
                 EngineKind engine, int threads) {
    if (const auto refusal = refusalOf(settings)) {
        throw RunError(refusalMessage(*refusal, "a setting"));
    }
    view.setRunFlag();
    RunState run{settings, view, runParameters(settings), {}, {}};
    run.table =
        withMemoryFor("reading " + printable(dataFile), [&] { return ReadDataFile(dataFile); });
    for (const std::string& warning : nonPositiveIntensityWarnings(run.table, dataFile)) {
        view.warn(warning);
    }
    withMemoryFor(gridWords(run.params.N),
                  [&] { allocateResults(run.result, run.table.lineCount(), run.params.N); });
    for (int t = 1; t <= run.timePoints(); ++t) {
        run.result.T[t] = run.table.field(t - 1, 1);
        const Measured m = run.measuredAt(t);
        for (int k = 0; k < kWavelengths; ++k) {
            run.result.measured[t - 1][2 * k] = m.iv[k];
            run.result.measured[t - 1][2 * k + 1] = m.ih[k];
        }
    }
    view.started(run.result);
    try {
        withMemoryFor("the fit over " + gridWords(run.params.N),
                      [&] { runModeFit(run, engine, threads); });
        if (refinesWinners(settings)) {
            withMemoryFor("the refinement", [&] { refineWinners(run); });
        }
    } catch (const RunStopped&) {
        run.result.completed = false;
        return std::move(run.result);
    }
    withMemoryFor("the result tables", [&] { runResultsStage(run); });
    run.result.completed = true;
    return std::move(run.result);
}

FitResult runFit(const FieldInputs& inputs, RunView& view, EngineKind engine) {
    return runFit(settingsFromFields(inputs), inputs.dataFile, view, engine);
}

} // namespace velmora
