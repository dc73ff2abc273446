// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/IntensityCheck.h"

#include "fit/Match.h"
#include "fit/Printable.h"

#include <array>
#include <charconv>

namespace velmora {

namespace {

std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), ec == std::errc() ? end : buffer.data());
}

// Fields 2k and 2k + 1 hold V and H of wavelength k.
std::string channelOf(int field) {
    return std::string(field % 2 == 0 ? "V" : "H") + " at wavelength " + std::to_string(field / 2);
}

} // namespace

std::vector<std::string> nonPositiveIntensityWarnings(const TDataTable& table,
                                                      const std::string& name) {
    std::vector<std::string> warnings;
    int unreported = 0;
    for (int row = 0; row < table.lineCount(); ++row) {
        for (int field = 2; field <= 2 * kWavelengths + 1; ++field) {
            const double value = table.field(row, field);
            if (value > 0.0) {
                continue;
            }
            if (static_cast<int>(warnings.size()) == kMaxIntensityWarnings) {
                ++unreported;
                break;
            }
            warnings.push_back(printable(name) + ", line " + std::to_string(row + 1) + ": field " +
                               std::to_string(field) + " (" + channelOf(field) + ") is " +
                               shortest(value) +
                               "; intensities must be positive, so the fit of this time point "
                               "means nothing");
            break;
        }
    }
    if (unreported > 0) {
        warnings.push_back(printable(name) + ": " + std::to_string(unreported) + " more line" +
                           (unreported == 1 ? "" : "s") +
                           " with intensities that are not positive");
    }
    return warnings;
}

} // namespace velmora
