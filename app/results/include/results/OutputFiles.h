// SPDX-License-Identifier: GPL-3.0-or-later
// The one way outputs are written, by velmora-fit and by the window's saving:
// never losing a file that stands at an output path, and writing either all
// of a run's outputs or none.
#pragma once

#include <span>
#include <string>

namespace velmora {

// The path that means standard output.
inline constexpr std::string_view kStandardOutput = "-";

// One output: the bytes to write and where.
struct Output {
    std::string path;
    std::string bytes;
};

// Writes every output, or none of the ones that are files:
// - a regular file (or a path where nothing stands yet) is written to a
//   temporary file in its own directory, flushed to the disk and renamed
//   over the path, keeping the old file's permission bits and, where the
//   process may set them, its owner and group. The renames happen only after
//   every output has been written, so a failure leaves every old file as it
//   was and no temporary file behind;
// - a symbolic link is followed: its target is replaced in the target's own
//   directory and the link stays a link;
// - a path that is neither a regular file nor a directory (a FIFO, a
//   character device, /dev/stdout) and kStandardOutput are written straight
//   through, after the files are written and before they are renamed.
// A replaced file loses its other hard links: they keep the old contents.
// Throws std::runtime_error "Cannot write file <path>: <reason>" or "Cannot
// write standard output: <reason>".
void writeOutputs(std::span<const Output> outputs);

// Throws std::runtime_error, before anything is computed or written, when an
// output path names the file `measurement` (the same file through any path,
// symbolic or hard link), or when two output paths name the same file.
void refuseOutputsOver(std::span<const std::string> outputPaths, const std::string& measurement);

} // namespace velmora
