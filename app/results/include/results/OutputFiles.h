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
// - first every output is checked, and refused with its reason before
//   anything is written: an empty name, a directory, a file that could not
//   be replaced (a read-only file, a directory that may not be written,
//   another user's file in a directory where only its owner may replace it,
//   a file mounted on its own), and two outputs that end in the same file;
// - a regular file (or a path where nothing stands yet) is written to a
//   temporary file in its own directory, flushed to the disk and renamed
//   over the path, keeping the old file's permission bits and, where the
//   process may set them, its owner and group. The renames happen only after
//   every output has been written, so a failure leaves every old file as it
//   was and no temporary file behind, and so does INT, TERM or HUP;
// - a symbolic link is followed: its target is replaced in the target's own
//   directory and the link stays a link;
// - kStandardOutput and the names of open descriptors (/dev/stdout,
//   /dev/stderr, /dev/fd/N, /proc/self/fd/N, also through a link) are
//   written to the descriptor itself, so an appending redirection appends
//   and a pipe is written; any other path that is neither a regular file nor
//   a directory (a FIFO, a character device) is opened and written straight
//   through. Both come after the files are written and before they are
//   renamed.
// A replaced file loses its other hard links: they keep the old contents.
// Throws std::runtime_error "Cannot write file <path>: <reason>", "Cannot
// write standard output: <reason>" or the message of two outputs that name
// the same file.
void writeOutputs(std::span<const Output> outputs);

// Throws std::runtime_error, before anything is computed or written, when an
// output path names one of the files `inputs` (the same file through any
// path, symbolic or hard link), and for everything writeOutputs would refuse
// before writing.
void refuseOutputsOver(std::span<const std::string> outputPaths,
                       std::span<const std::string> inputs);
// As above, with the one input `measurement`.
void refuseOutputsOver(std::span<const std::string> outputPaths, const std::string& measurement);

} // namespace velmora
