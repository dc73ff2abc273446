// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers and tables one run produces.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace velmora {

// A run's numbers: the per-time-point arrays are indexed 1..timePoints
// (element 0 is 0), Model and Norm have eight channel columns.
struct RunResult {
    bool completed = false; // false when the user stopped the run
    int timePoints = 0;
    std::vector<double> T, Rfit, Conc, VxFit, GamFit, WpFit, GamSpread;
    std::vector<std::array<double, 8>> Model; // rows 1..N (row 0 unused)
    std::vector<std::array<double, 8>> Norm;  // rows 0..timePoints
    std::vector<std::string> ResultTable;     // Memo1
    std::vector<std::string> ResonanceTable;  // Memo2
    std::vector<std::string> vPeakTable;      // "Intensity results" Memo1
    std::vector<std::string> hPeakTable;      // "Intensity results" Memo2
};

} // namespace velmora
