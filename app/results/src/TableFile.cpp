// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/TableFile.h"

#include "results/OutputFiles.h"

namespace velmora {

std::string tableFileBytes(std::span<const std::string> lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

void writeTableFile(const std::filesystem::path& path, std::span<const std::string> lines) {
    const Output output{path.string(), tableFileBytes(lines)};
    writeOutputs({&output, 1});
}

} // namespace velmora
