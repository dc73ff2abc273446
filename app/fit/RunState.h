// The state of one fit run: its parameters, the measurement, and the arrays
// the fits fill and the results stage reads. Created zeroed at the start of a
// run, discarded at its end.
#pragma once

#include "DataFile.h"
#include "FitRun.h"
#include "Match.h"

#include <array>

namespace velmora {

constexpr int kMaxRadiusSteps = 1000;

struct RunParameters {
    std::array<double, kWavelengths + 1> Lambda{}; // nm, 1..4
    double Rmin = 0.0;
    double Rmax = 0.0;
    double WpMax = 0.0;
    double WpMin = 0.0;
    double GamMax = 0.0;
    double GamMin = 0.0;
    int N = 0;       // radius steps
    double dR = 0.0; // (Rmax - Rmin) / N
    double W0 = 0.0; // resonance energy of the dielectric model of this run
};

struct RunState {
    const RunInputs& inputs;
    RunView& view;
    RunParameters params;
    TDataTable table;
    RunResult result; // the per-time-point arrays, Model, Norm and the tables

    int timePoints() const { return result.timePoints; }

    // The measured intensities of time point t (1..timePoints): fields 2k and
    // 2k + 1 of row t - 1.
    Measured measuredAt(int t) const;
    double measuredV(int t, int k) const { return table.field(t - 1, 2 * k); }
    double measuredH(int t, int k) const { return table.field(t - 1, 2 * k + 1); }
};

} // namespace velmora
