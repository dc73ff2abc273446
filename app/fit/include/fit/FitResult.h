// SPDX-License-Identifier: GPL-3.0-or-later
// What one run produces: the fits' per-time-point arrays, the quantities the
// mode fitted as named series over time, the measurement, the prediction
// over the radius grid and the text tables. The window draws it and
// velmora-fit writes its tables; nothing here knows how it is shown.
#pragma once

#include "fit/FitSettings.h"

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace velmora {

// The eight channels of a wavelength-resolved value: V and H of wavelength
// k (0..3) at 2k and 2k + 1.
using Channels = std::array<double, 2 * kWavelengths>;

// A quantity a mode fits for every time point.
enum class Quantity {
    Radius,        // Rfit, nm
    Concentration, // Conc, a.u.
    NonAgreement,  // VxFit, %
    DampingSpread, // GamSpread of mode "G, R (II)", %
    Damping,       // GamFit of mode "G, R (I)", eV
    MeanDamping,   // GamFit of mode "G, R (II)": the mean of the four wavelengths', eV
    PlasmaEnergy,  // WpFit, eV
};

// A fitted value and its standard error; the error is NaN where the run did
// not estimate one (a grid winner without refinement), the value NaN where
// the model has no such parameter.
struct Estimate {
    double value = std::numeric_limits<double>::quiet_NaN();
    double standardError = std::numeric_limits<double>::quiet_NaN();
};

// The model's parameters at one time point: the fitted ones as fitted, the
// fixed ones at their set values (standard error NaN).
struct TimePointEstimates {
    Estimate radius;        // nm; the median radius of a spread
    Estimate sigma;         // standard deviation of ln R; 0 for one size
    Estimate plasmaEnergy;  // eV
    Estimate damping;       // eV; mode "G, R (II)": the mean of the four wavelengths'
    Estimate concentration; // a.u.
    double vx = std::numeric_limits<double>::quiet_NaN(); // %, the grid winner's non-agreement
    double chi2Reduced = std::numeric_limits<double>::quiet_NaN();
    bool refined = false;     // a refinement ran at this time point
    bool converged = false;   // it met its tolerances (meaningful when refined)
    bool insideRanges = true; // its values lie in the grid's ranges (when refined)
};

// One quantity over time: values[i] belongs to time point i (from 0), at
// time FitResult::time(i).
struct TimeSeries {
    Quantity quantity;
    std::vector<double> values;
};

struct FitResult {
    bool completed = false; // false when the user stopped the run
    int timePoints = 0;

    // The fits' arrays, indexed by time point 1..timePoints (element 0 is 0).
    std::vector<double> T, Rfit, Conc, VxFit, GamFit, WpFit, GamSpread;
    // The spread (standard deviation of ln R) of each time point's winner;
    // 0 for spheres of one size.
    std::vector<double> SigmaFit;
    // Model over the radius grid, rows 1..N (row 0 unused); Norm, the
    // normalised intensities, rows 0..timePoints (row 0 is 0).
    std::vector<Channels> Model;
    std::vector<Channels> Norm;

    // The measured intensities of time point i (from 0).
    std::vector<Channels> measured;
    // What the mode fitted, in the order the mode reports it.
    std::vector<TimeSeries> overTime;
    // The model's parameters at time point i (from 0); empty when the mode
    // fits nothing.
    std::vector<TimePointEstimates> estimates;
    // The radius of row i + 1 of Model (from 0), Rmin + i * dR.
    std::vector<double> predictionRadii;

    // The tables, one line each, header first.
    std::vector<std::string> ResultTable;    // per time point
    std::vector<std::string> ResonanceTable; // per wavelength: W, RmaxV, RmaxH
    std::vector<std::string> vPeakTable;     // per wavelength: W, RmaxV
    std::vector<std::string> hPeakTable;     // per wavelength: W, RmaxH

    // The time of time point i (from 0).
    double time(int i) const { return T[i + 1]; }
};

} // namespace velmora
