// SPDX-License-Identifier: GPL-3.0-or-later
// The results stage that ends every run that is not stopped: normalised
// intensities, the radii of the resonance prediction, the peak radii per
// wavelength and the result tables.
#pragma once

#include "fit/RunState.h"

#include <string>
#include <vector>

namespace velmora {

// The header line of ResultTable for a mode; none for FitMode::None.
std::vector<std::string> resultTableHeader(FitMode fitMode);

void runResultsStage(RunState& run);

} // namespace velmora
