// SPDX-License-Identifier: GPL-3.0-or-later
// The refinement stage of a run that refines (--refine, and always in mode
// "G, R (III)"): after the mode's grid search, every time point's winner is
// refined by least squares in the mode's own measure, and its values,
// standard errors, reduced chi^2 and flags go to FitResult::estimates. The
// grid's arrays and tables are left as the search wrote them.
#pragma once

#include "fit/RefinementResiduals.h"
#include "fit/RunState.h"

#include <optional>

namespace velmora {

// The refinement of time point t (1..timePoints) as the mode asks for it:
// the model with its fixed values, the free values with their starts (the
// grid's winner), ranges and scales, the residuals and their count.
// Nothing for a time point without a winner (no candidate agreed below the
// mode's bound, so its concentration is 0).
struct WinnerProblem {
    TimePointModel model;
    std::vector<FreeParameter> parameters;
    ResidualFunction residuals;
    int residualCount;
    ResidualNoise noise; // how the residuals share the measured noises
};
std::optional<WinnerProblem> winnerProblem(const RunState& run, int t);

// Refines every time point that has a winner, in parallel over time points
// (each refinement is deterministic and independent of the others, so the
// results do not depend on the order), and fills their estimates with
// refined = true. Asks the stop test between batches of time points and
// reports its progress as a pass "Refinement".
void refineWinners(RunState& run);

} // namespace velmora
