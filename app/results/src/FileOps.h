// SPDX-License-Identifier: GPL-3.0-or-later
// The operating-system calls the output writer needs, behind one small
// interface: what stands at a path, whether a file there can be replaced,
// temporary files that are flushed to the disk, and writes that report every
// failure with its reason.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::fileops {

// What stands at an output path once symbolic links are followed.
struct Target {
    enum class Kind { Missing, Regular, Stream, Directory, Descriptor };
    std::filesystem::path path; // the path with every link followed
    Kind kind = Kind::Missing;
    int descriptor = -1; // Kind::Descriptor: the open descriptor the path names
};

// The descriptor of this process that the path names: /dev/stdin,
// /dev/stdout and /dev/stderr (0, 1, 2), /dev/fd/N and /proc/self/fd/N (N).
// Written through the descriptor itself, such an output keeps what the
// shell opened: a `>>` redirection still appends, and a pipe is no file to
// replace.
std::optional<int> descriptorNamed(const std::filesystem::path& path);

// What stands at a path itself, a symbolic link not followed.
enum class Entry { Missing, Regular, Stream, Directory, Link };

// Throws std::runtime_error with the reason when the path cannot be
// examined.
Entry entryAt(const std::filesystem::path& path);

// Throws std::runtime_error with the reason when a file cannot be written
// at `target` (a regular file or nothing) and renamed over it: its
// directory is missing or may not be written, the file is read-only (as a
// shell's redirection refuses it), belongs to another user in a directory
// where only a file's owner may replace it, or is mounted on its own.
void checkReplaceable(const Target& target);

// A new file next to a target, written and flushed before it replaces it.
// Its name is ".<target name>.XXXXXX", the target's name shortened where it
// would not fit the file system's limit on names. Until it is renamed or
// removed, INT, TERM and HUP remove it before they end the process, and a
// file size limit fails the write instead of ending the process.
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
    void renameOverTarget();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Opens the existing non-regular file and writes the bytes straight to it.
void writeStraight(const std::filesystem::path& path, std::string_view bytes);

// Writes the bytes to the open descriptor and reports any failure.
void writeDescriptor(int descriptor, std::string_view bytes);

// Whether the two paths name the same existing file (through any links).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace velmora::fileops
