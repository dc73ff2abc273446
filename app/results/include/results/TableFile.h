// The saved-file format of the result tables: 8-bit text, one table line per
// text line, every line (the last one too) ended by CR LF.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace velmora {

// Writes the lines to a temporary file in the target's directory and renames
// it over the target, so a failure leaves an existing file as it was. Throws
// std::runtime_error ("Cannot write file <path>: <reason>") on failure.
void writeTableFile(const std::filesystem::path& path, std::span<const std::string> lines);

} // namespace velmora
