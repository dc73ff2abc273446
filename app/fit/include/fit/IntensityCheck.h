// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of a measurement whose intensities no sphere can give: a zero or
// negative intensity (a field left out of a short line reads as 0) fits to a
// radius of 0 or to a negative concentration and Vx. Such time points are
// fitted as they stand; the run warns about them by line.
#pragma once

#include "fit/DataFile.h"

#include <string>
#include <vector>

namespace velmora {

// The warnings for the lines of `table` (read from the file `name`) whose
// intensities (fields 2 to 9) are not all positive, one per line, naming
// the line and its first such field with its value:
// "<name>, line 5: field 4 (V at wavelength 2) is -1.5; intensities must be
// positive, so the fit of this time point means nothing". After
// kMaxIntensityWarnings lines one more warning counts the rest.
std::vector<std::string> nonPositiveIntensityWarnings(const TDataTable& table,
                                                      const std::string& name);

constexpr int kMaxIntensityWarnings = 10;

} // namespace velmora
