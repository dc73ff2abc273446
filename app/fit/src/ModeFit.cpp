// SPDX-License-Identifier: GPL-3.0-or-later
// The seam between the modes and the engines: the modes are instantiated here
// for each engine, and here alone.
#include "fit/DirectEngine.h"
#include "fit/FitEngine.h"
#include "fit/fast/FastEngine.h"
#include "modes/CombinedFit.h"
#include "modes/FillModel.h"
#include "modes/FreePlasmaFit.h"
#include "modes/PolarizationFit.h"
#include "modes/RadiusFit.h"

namespace velmora {

static_assert(FitEngine<DirectEngine>);
static_assert(FitEngine<FastEngine>);

namespace {

template <FitEngine Engine> void runModeFitWith(RunState& run, Engine& engine) {
    switch (run.settings.mode) {
    case FitMode::R:
        runRadiusFit(run, engine);
        break;
    case FitMode::GR1:
        runFreePlasmaFit(run, engine);
        break;
    case FitMode::GR2:
        runPolarizationFit(run, engine);
        break;
    case FitMode::GR3:
        runCombinedFit(run, engine);
        break;
    default:
        break;
    }
}

} // namespace

void runModeFit(RunState& run, EngineKind kind, int threads) {
    if (!fitsSomething(run.settings.mode)) {
        return;
    }
    if (kind == EngineKind::Direct) {
        DirectEngine engine;
        runModeFitWith(run, engine);
    } else {
        FastEngine engine(run.params, threads);
        runModeFitWith(run, engine);
    }
}

} // namespace velmora
