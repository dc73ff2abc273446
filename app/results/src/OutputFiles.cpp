// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/OutputFiles.h"

#include "FileOps.h"
#include "fit/Printable.h"

#include <memory>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace velmora {

namespace {

using fileops::Target;

std::string named(const std::string& path) {
    return path.empty() ? std::string("''") : printable(path);
}

std::string describe(const std::string& path) {
    return path == kStandardOutput ? std::string("standard output") : "file " + named(path);
}

[[noreturn]] void failWriting(const std::string& path, const std::string& reason) {
    throw std::runtime_error("Cannot write " + describe(path) + ": " + reason);
}

// Runs `step` for the output at `path`; a failure names the output.
template <typename Step> void forOutput(const std::string& path, Step&& step) {
    try {
        step();
    } catch (const std::runtime_error& e) {
        failWriting(path, e.what());
    }
}

// Links followed before a chain counts as a loop, as the Linux kernel counts
// them.
constexpr int kMaxLinkHops = 40;

// Follows the symbolic links at `path` (a relative link target counts from
// the link's own directory) to what stands at the end, stopping at a name of
// an open descriptor. Throws std::runtime_error with the reason when a link
// cannot be read or the chain is too long.
Target resolve(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0;; ++hop) {
        if (const std::optional<int> descriptor = fileops::descriptorNamed(current)) {
            return {current, Target::Kind::Descriptor, *descriptor};
        }
        switch (fileops::entryAt(current)) {
        case fileops::Entry::Missing:
            return {current, Target::Kind::Missing};
        case fileops::Entry::Regular:
            return {current, Target::Kind::Regular};
        case fileops::Entry::Directory:
            return {current, Target::Kind::Directory};
        case fileops::Entry::Stream:
            return {current, Target::Kind::Stream};
        case fileops::Entry::Link:
            break;
        }
        if (hop == kMaxLinkHops) {
            throw std::runtime_error(
                std::make_error_code(std::errc::too_many_symbolic_link_levels).message());
        }
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error) {
            throw std::runtime_error(error.message());
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
}

bool isFile(const Target& target) {
    return target.kind == Target::Kind::Regular || target.kind == Target::Kind::Missing;
}

// Where a target stands, the same for every name of it: its directory with
// the links in it followed, and its own name.
std::filesystem::path placeOf(const Target& target) {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::absolute(target.path, error).parent_path();
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(directory, error);
    return (error ? directory : resolved) / target.path.filename();
}

// Resolves every output and refuses, before anything is written, every one
// that could not be written or could not replace what stands at its path,
// and two outputs that would end in the same file (by two names, or through
// a link to the other's name, existing or not). Standard output and the
// names of open descriptors may be named any number of times.
std::vector<Target> planOutputs(std::span<const std::string> paths) {
    std::vector<Target> targets(paths.size());
    std::vector<std::size_t> files;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        if (path == kStandardOutput) {
            targets[i] = {{}, Target::Kind::Descriptor, 1};
            continue;
        }
        if (path.empty()) {
            failWriting(path, "the name is empty");
        }
        forOutput(path, [&] { targets[i] = resolve(path); });
        if (targets[i].kind == Target::Kind::Directory) {
            failWriting(path, "it is a directory");
        }
        if (targets[i].kind == Target::Kind::Descriptor) {
            continue;
        }
        if (isFile(targets[i])) {
            forOutput(path, [&] { fileops::checkReplaceable(targets[i]); });
        }
        for (const std::size_t earlier : files) {
            if (placeOf(targets[earlier]) == placeOf(targets[i]) ||
                fileops::sameFile(targets[earlier].path, targets[i].path)) {
                throw std::runtime_error(
                    paths[earlier] == path
                        ? "The output file " + named(path) +
                              " is named twice; each output needs a file of its own"
                        : "The output files " + named(paths[earlier]) + " and " + named(path) +
                              " name the same file; each output needs a file of its own");
            }
        }
        files.push_back(i);
    }
    return targets;
}

} // namespace

void writeOutputs(std::span<const Output> outputs) {
    std::vector<std::string> paths;
    for (const Output& output : outputs) {
        paths.push_back(output.path);
    }
    const std::vector<Target> targets = planOutputs(paths);
    // Every file first into its temporary file; any failure removes them all.
    std::vector<std::unique_ptr<fileops::TemporaryFile>> staged(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (isFile(targets[i])) {
            forOutput(outputs[i].path, [&] {
                staged[i] = std::make_unique<fileops::TemporaryFile>(targets[i]);
                staged[i]->write(outputs[i].bytes);
            });
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (targets[i].kind == Target::Kind::Descriptor) {
            forOutput(outputs[i].path,
                      [&] { fileops::writeDescriptor(targets[i].descriptor, outputs[i].bytes); });
        } else if (!staged[i]) {
            forOutput(outputs[i].path,
                      [&] { fileops::writeStraight(targets[i].path, outputs[i].bytes); });
        }
    }
    // Everything that planOutputs could check has been checked, so a rename
    // fails now only when something changed since or the system fails: another
    // process removes or replaces the directory, makes the file read-only,
    // mounts over it or takes it away from this user, or the disk or a
    // network file system reports an error. Outputs renamed before such a
    // failure stay replaced; the rest keep their old contents.
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (staged[i]) {
            forOutput(outputs[i].path, [&] { staged[i]->renameOverTarget(); });
        }
    }
}

void refuseOutputsOver(std::span<const std::string> outputPaths,
                       std::span<const std::string> inputs) {
    planOutputs(outputPaths);
    for (const std::string& path : outputPaths) {
        if (path == kStandardOutput) {
            continue;
        }
        for (const std::string& input : inputs) {
            if (fileops::sameFile(path, input)) {
                throw std::runtime_error("The output file " + named(path) + " is the measurement " +
                                         named(input) +
                                         "; writing it would replace the measurement");
            }
        }
    }
}

void refuseOutputsOver(std::span<const std::string> outputPaths, const std::string& measurement) {
    refuseOutputsOver(outputPaths, std::span<const std::string>(&measurement, 1));
}

} // namespace velmora
