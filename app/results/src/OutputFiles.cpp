// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/OutputFiles.h"

#include "FileOps.h"
#include "fit/Printable.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace velmora {

namespace {

using fileops::Target;

std::string describe(const std::string& path) {
    return path == kStandardOutput ? std::string("standard output") : "file " + printable(path);
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

} // namespace

void writeOutputs(std::span<const Output> outputs) {
    std::vector<Target> targets(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].path == kStandardOutput) {
            continue;
        }
        forOutput(outputs[i].path, [&] { targets[i] = fileops::resolve(outputs[i].path); });
        if (targets[i].kind == Target::Kind::Directory) {
            failWriting(outputs[i].path, "it is a directory");
        }
    }
    // Every file first into its temporary file; any failure removes them all.
    std::vector<std::unique_ptr<fileops::TemporaryFile>> staged(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const Target::Kind kind = targets[i].kind;
        if (outputs[i].path != kStandardOutput &&
            (kind == Target::Kind::Regular || kind == Target::Kind::Missing)) {
            forOutput(outputs[i].path, [&] {
                staged[i] = std::make_unique<fileops::TemporaryFile>(targets[i]);
                staged[i]->write(outputs[i].bytes);
            });
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].path == kStandardOutput) {
            forOutput(outputs[i].path, [&] { fileops::writeStandardOutput(outputs[i].bytes); });
        } else if (!staged[i]) {
            forOutput(outputs[i].path,
                      [&] { fileops::writeStraight(targets[i].path, outputs[i].bytes); });
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (staged[i]) {
            forOutput(outputs[i].path, [&] { staged[i]->renameOver(targets[i].path); });
        }
    }
}

void refuseOutputsOver(std::span<const std::string> outputPaths, const std::string& measurement) {
    std::vector<std::filesystem::path> seen;
    for (const std::string& path : outputPaths) {
        if (path == kStandardOutput) {
            continue;
        }
        if (fileops::sameFile(path, measurement)) {
            throw std::runtime_error("The output file " + printable(path) + " is the measurement " +
                                     printable(measurement) +
                                     "; writing it would replace the measurement");
        }
        std::error_code error;
        std::filesystem::path resolved =
            std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
        if (error) {
            resolved = path;
        }
        for (const std::filesystem::path& earlier : seen) {
            if (fileops::sameFile(earlier, resolved) || earlier == resolved) {
                throw std::runtime_error("The output file " + printable(path) +
                                         " is named twice; each output needs a file of its own");
            }
        }
        seen.push_back(resolved);
    }
}

} // namespace velmora
