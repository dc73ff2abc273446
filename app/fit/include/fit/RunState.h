// SPDX-License-Identifier: GPL-3.0-or-later
// The state of one fit run: its parameters, the measurement, and the arrays
// the fits fill and the results stage reads. Created zeroed at the start of a
// run, discarded at its end.
#pragma once

#include "fit/DataFile.h"
#include "fit/FitResult.h"
#include "fit/FitSettings.h"
#include "fit/Match.h"
#include "fit/RunParameters.h"
#include "fit/RunView.h"

namespace velmora {

struct RunState {
    const FitSettings& settings;
    RunView& view;
    RunParameters params;
    TDataTable table;
    FitResult result; // the per-time-point arrays, Model, Norm and the tables

    int timePoints() const { return result.timePoints; }

    // The measured intensities of time point t (1..timePoints): fields 2k and
    // 2k + 1 of row t - 1.
    Measured measuredAt(int t) const;
    double measuredV(int t, int k) const { return table.field(t - 1, 2 * k); }
    double measuredH(int t, int k) const { return table.field(t - 1, 2 * k + 1); }
};

} // namespace velmora
