// SPDX-License-Identifier: GPL-3.0-or-later
// The parameters of a run, parsed from its field texts when it starts.
#pragma once

#include "fit/Match.h"
#include "fit/RunInputs.h"

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

// The number in a field's text; throws FieldError naming the field when the
// text is not a number.
double fieldDecimal(const RunInputs& inputs, Field field);
int fieldInteger(const RunInputs& inputs, Field field);

// The run parameters, parsed in the order Lambda1..Lambda4, Rmin, Rmax,
// WpMax, WpMin, GamMax, GamMin (decimals), N (integer); throws RunError at
// the first text that is not a number and when N exceeds kMaxRadiusSteps.
RunParameters parseRunParameters(const RunInputs& inputs);

} // namespace velmora
