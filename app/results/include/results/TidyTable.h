// SPDX-License-Identifier: GPL-3.0-or-later
// The tidy form of a run's result for other programs: comment lines ("# ")
// naming the program, the measurement file, the mode, the model and every
// setting with its unit, then one header row of column names with units and
// one comma-separated row per time point of the model's parameters, their
// standard errors, the non-agreement and the quality of a refinement.
// Numbers are written with the full stop and as many digits as read back
// the same double; a value or error the run does not have is an empty cell.
#pragma once

#include "fit/FitResult.h"
#include "fit/FitSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The header row of the tidy table.
extern const std::string_view kTidyTableHeader;

// The tidy table's lines (without line ends) of a run of `settings` on the
// measurement `measurementFile`, written by `program` (its name and version,
// "velmora-fit 1.0.0").
std::vector<std::string> tidyTableLines(const FitResult& result, const FitSettings& settings,
                                        std::string_view measurementFile, std::string_view program);

} // namespace velmora
