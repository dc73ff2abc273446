// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers the engines and the fits compute with, derived once from a
// run's checked settings.
#pragma once

#include "fit/FitSettings.h"

#include <array>
#include <vector>

namespace velmora {

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
    // The particle in its medium and the spreads of sizes every time point
    // searches (one value, 0, for spheres of one size).
    double MediumIndex = 1.0;
    double EpsInf = 1.0;
    std::vector<double> Sigma{0.0};
};

// The spreads of a sigma range: kSigmaSteps + 1 values from lowest to
// highest, or its one value when lowest = highest.
std::vector<double> sigmaGrid(const Range& sigma);

// The parameters of settings that refusalOf accepts; throws RunError when
// the radius step's arithmetic faults.
RunParameters runParameters(const FitSettings& settings);

} // namespace velmora
