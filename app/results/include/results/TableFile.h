// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-file format of the result tables: 8-bit text, one table line per
// text line, every line (the last one too) ended by CR LF.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace velmora {

// The bytes of a saved table.
std::string tableFileBytes(std::span<const std::string> lines);

// Writes one table with writeOutputs, so an existing file is replaced only
// by a complete new one.
void writeTableFile(const std::filesystem::path& path, std::span<const std::string> lines);

} // namespace velmora
