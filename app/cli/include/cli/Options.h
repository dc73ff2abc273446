// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of velmora-fit, parsed with CLI11: its usage, help and
// error texts follow that library's conventions.
#pragma once

#include "fit/AvailableCpus.h"
#include "run/FitRun.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

struct Options {
    FitSettings settings;                 // the defaults, changed by the options
    std::vector<std::string> files;       // the measurement files, in the order given
    std::optional<std::string> result;    // --result FILE
    std::optional<std::string> resonance; // --resonance FILE
    std::optional<std::string> resultDir; // --result-dir DIR
    EngineKind engine = EngineKind::Fast; // --engine fast|direct
    int threads = availableCpus();        // --threads N, the calling one included
    // --table: the described tab-separated result table, or the tidy
    // comma-separated one (TidyTable.h).
    enum class Table { Tsv, Csv } table = Table::Tsv;
};

// What the command line asks for: options to run with, or an exit status
// once help, the version or an error has been printed.
struct CommandLine {
    std::optional<Options> options;
    int exitStatus = 0;
};

// Exit status of a command line that cannot be understood.
constexpr int kUsageExitStatus = 2;

// Parses the arguments after the program name; help and the version go to
// out, errors to err. The settings are checked (refusalOf) here: a value that
// is no number or is refused is a bad command line, reported with the
// option's name. Without a file (and without --demo) the run reads
// DemoDat.txt from the working directory.
CommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                             std::ostream& err);

} // namespace velmora::cli
