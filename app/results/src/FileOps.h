// SPDX-License-Identifier: GPL-3.0-or-later
// The operating-system calls the output writer needs, behind one small
// interface: what stands at a path, temporary files that are flushed to the
// disk, and writes that report every failure with its reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::fileops {

// What stands at an output path once symbolic links are followed.
struct Target {
    enum class Kind { Missing, Regular, Stream, Directory };
    std::filesystem::path path; // the path with every link followed
    Kind kind = Kind::Missing;
};

// Follows the symbolic links at `path` (a relative link target counts from
// the link's own directory) to what stands at the end. Throws
// std::runtime_error with the reason when a link cannot be read or the
// chain is too long.
Target resolve(const std::filesystem::path& path);

// A new file next to a target, written and flushed before it replaces it.
class TemporaryFile {
public:
    // Creates the file in the directory of `target.path`, with the
    // permission bits (and owner and group, where allowed) of the regular
    // file standing there, or those of a newly created file.
    explicit TemporaryFile(const Target& target);
    ~TemporaryFile(); // removes the file unless it was renamed
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view bytes); // all of them, flushed to the disk
    void renameOver(const std::filesystem::path& path);

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool renamed_ = false;
};

// Opens the existing non-regular file and writes the bytes straight to it.
void writeStraight(const std::filesystem::path& path, std::string_view bytes);

// Writes the bytes to standard output and reports any failure.
void writeStandardOutput(std::string_view bytes);

// Whether the two paths name the same existing file (through any links).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace velmora::fileops
