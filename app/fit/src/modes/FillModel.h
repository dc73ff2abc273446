// SPDX-License-Identifier: GPL-3.0-or-later
// The prediction table over any engine; included by the engine seam alone.
#pragma once

#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/FpFault.h"

namespace velmora {

template <FitEngine Engine>
void fillModel(RunState& run, Engine& engine, double gam, double wp, double sigma) {
    const RunParameters& p = run.params;
    const auto source = engine.modelSource(p, gam, wp, sigma);
    for (int k = 1; k <= kWavelengths; ++k) {
        for (int i = 1; i <= p.N; ++i) {
            const double radius = source.radius(i - 1);
            const ModelValue value = source.model(k, i - 1, radius);
            if (value.fault != FpFault::None) {
                throwFpFault(value.fault);
            }
            run.result.Model[i][2 * k - 2] = value.iv;
            run.result.Model[i][2 * k - 1] = value.ih;
        }
    }
}

template void fillModel(RunState&, FastEngine&, double, double, double);

} // namespace velmora
