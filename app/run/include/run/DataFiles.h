// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's data files (the demo measurement DemoDat.txt and the
// help document HelpDemo.mht) are found at run time: installed in
// <prefix>/share/velmora/ beside the <prefix>/bin/ that holds the program,
// else in the working directory, else in the source tree's demo/ folder of
// the build that made the program.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::string_view kDemoMeasurementName = "DemoDat.txt";
inline constexpr std::string_view kHelpDocumentName = "HelpDemo.mht";

// The folder of the running program; empty when the system does not say.
std::filesystem::path executableDirectory();

struct DataFileLookup {
    // Every place looked at, in the order looked.
    std::vector<std::filesystem::path> candidates;
    // The first candidate that is a regular file.
    std::optional<std::filesystem::path> found;
};

// Looks for the data file `name` in executableDir/../share/velmora/, the
// working directory and the source tree's demo/ folder, in that order.
DataFileLookup findDataFile(std::string_view name,
                            const std::filesystem::path& executableDir = executableDirectory());

} // namespace velmora
