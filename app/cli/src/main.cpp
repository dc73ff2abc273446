// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-fit: fit runs of measurement files without a window.
#include "cli/ConsoleView.h"
#include "cli/Options.h"
#include "cli/StandardStreams.h"
#include "fit/Printable.h"
#include "results/OutputFiles.h"
#include "results/TableFile.h"
#include "results/TidyTable.h"
#include "run/DataFiles.h"

#include <filesystem>
#include <iostream>
#include <new>
#include <sstream>

namespace {

using namespace velmora;

// A table as velmora-fit writes it: on standard output each line ended by
// LF, as the terminal and other programs expect; in a file in the saved-file
// format, each line ended by CR LF.
std::string tableBytes(const std::string& path, const std::vector<std::string>& lines) {
    if (path != kStandardOutput) {
        return tableFileBytes(lines);
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

// The result table in the form --table asks for.
std::vector<std::string> resultLines(const cli::Options& options, const FitResult& result,
                                     const std::string& dataFile) {
    if (options.table == cli::Options::Table::Csv) {
        return tidyTableLines(result, options.settings, dataFile,
                              std::string("velmora-fit ") + VELMORA_VERSION);
    }
    return result.ResultTable;
}

// Fits one measurement file with the options' fields, after refusing
// outputs that would replace any measurement of the call; the outputs'
// bytes are then filled from the run's tables by `fill` and all are
// written, or none.
template <typename Fill>
void fitAndWrite(const cli::Options& options, const std::string& dataFile,
                 std::vector<Output> outputs, Fill fill) {
    std::vector<std::string> paths;
    for (const Output& output : outputs) {
        paths.push_back(output.path);
    }
    refuseOutputsOver(paths,
                      options.files.empty() ? std::vector<std::string>{dataFile} : options.files);
    cli::ConsoleView view(cli::standardErrorIsTerminal());
    try {
        const FitResult result =
            runFit(options.settings, dataFile, view, options.engine, options.threads);
        view.finish();
        fill(result, outputs);
    } catch (...) {
        view.finish();
        throw;
    }
    writeOutputs(outputs);
}

// Runs one fit; the failure's message goes to standard error. Returns
// whether the fit and its outputs succeeded.
template <typename Fit> bool reported(const std::string& prefix, Fit fit) {
    try {
        fit();
        return true;
    } catch (const std::bad_alloc&) {
        std::cerr << prefix << "Not enough memory for the result tables\n";
    } catch (const std::exception& e) {
        std::cerr << prefix << e.what() << '\n';
    }
    return false;
}

// The one measurement file of a run without --result-dir: the one given, else
// DemoDat.txt in the working directory.
std::string measurementOf(const cli::Options& options) {
    return options.files.empty() ? std::string(kDemoMeasurementName) : options.files.front();
}

// One file, its tables printed or written where --result and --resonance say.
int fitSingle(const cli::Options& options) {
    std::vector<Output> outputs{{options.result.value_or(std::string(kStandardOutput)), {}}};
    if (options.resonance) {
        outputs.push_back({*options.resonance, {}});
    }
    const bool done = reported("", [&] {
        fitAndWrite(options, measurementOf(options), outputs,
                    [&](const FitResult& result, std::vector<Output>& filled) {
                        filled[0].bytes = tableBytes(
                            filled[0].path, resultLines(options, result, measurementOf(options)));
                        if (options.resonance) {
                            filled[1].bytes = tableBytes(filled[1].path, result.ResonanceTable);
                        }
                    });
    });
    return done ? 0 : 1;
}

// Every file, its tables written to DIR/<name>_RNV.dat and DIR/<name>_WR.dat
// by the same writer, DIR made first where it does not exist; a file that
// fails is reported with its name and the others go on. No output may be
// any file of the call, so an earlier file's tables never replace a later
// file before it is read.
int fitEach(const cli::Options& options) {
    const std::filesystem::path dir = *options.resultDir;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::cerr << "Cannot create directory " << printable(dir.string()) << ": "
                  << error.message() << '\n';
        return 1;
    }
    int failures = 0;
    for (const std::string& file : options.files) {
        const std::string name = std::filesystem::path(file).stem().string();
        const std::string resultName =
            name + (options.table == cli::Options::Table::Csv ? "_RNV.csv" : "_RNV.dat");
        const std::vector<Output> outputs{{(dir / resultName).string(), {}},
                                          {(dir / (name + "_WR.dat")).string(), {}}};
        const bool done = reported(printable(file) + ": ", [&] {
            fitAndWrite(options, file, outputs,
                        [&](const FitResult& result, std::vector<Output>& filled) {
                            filled[0].bytes = tableFileBytes(resultLines(options, result, file));
                            filled[1].bytes = tableFileBytes(result.ResonanceTable);
                        });
        });
        failures += done ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    cli::writeStandardStreamsUntranslated();
    // Help and the version are written as the tables are, so that a
    // standard output that cannot take them fails the call.
    std::ostringstream printed;
    const cli::CommandLine commandLine =
        cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), printed, std::cerr);
    if (!commandLine.options) {
        if (commandLine.exitStatus == 0) {
            const Output text{std::string(kStandardOutput), printed.str()};
            return reported("", [&] { writeOutputs({&text, 1}); }) ? 0 : 1;
        }
        return commandLine.exitStatus;
    }
    const cli::Options& options = *commandLine.options;
    if (options.settings.mode == FitMode::None) {
        std::cerr << "--mode none fits nothing: the result table has no rows and the resonance "
                     "table's radii are 0\n";
    }
    return options.resultDir ? fitEach(options) : fitSingle(options);
}
