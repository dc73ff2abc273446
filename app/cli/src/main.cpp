// velmora-fit: fit runs of measurement files without a window.
#include "cli/ConsoleView.h"
#include "cli/Options.h"
#include "results/TableFile.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

using namespace velmora;

void printTable(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << line << '\n';
    }
    std::cout.flush();
}

RunResult fitOne(const cli::Options& options, const std::string& dataFile) {
    RunInputs inputs = options.inputs;
    inputs.dataFile = dataFile;
    cli::ConsoleView view(isatty(STDERR_FILENO) != 0);
    try {
        RunResult result = runFit(inputs, view, options.engine);
        view.finish();
        return result;
    } catch (...) {
        view.finish();
        throw;
    }
}

// One file, its tables printed or written where --result and --resonance say.
int fitSingle(const cli::Options& options) {
    try {
        const RunResult result = fitOne(options, options.inputs.dataFile);
        if (options.result) {
            writeTableFile(*options.result, result.ResultTable);
        } else {
            printTable(result.ResultTable);
        }
        if (options.resonance) {
            writeTableFile(*options.resonance, result.ResonanceTable);
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}

// Every file, its tables written to DIR/<name>_RNV.dat and DIR/<name>_WR.dat;
// a file that fails is reported with its name and the others go on.
int fitEach(const cli::Options& options) {
    const std::filesystem::path dir = *options.resultDir;
    int failures = 0;
    for (const std::string& file : options.files) {
        try {
            const RunResult result = fitOne(options, file);
            const std::string name = std::filesystem::path(file).stem().string();
            writeTableFile(dir / (name + "_RNV.dat"), result.ResultTable);
            writeTableFile(dir / (name + "_WR.dat"), result.ResonanceTable);
        } catch (const std::exception& e) {
            std::cerr << file << ": " << e.what() << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const cli::CommandLine commandLine = cli::parseCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (!commandLine.options) {
        return commandLine.exitStatus;
    }
    const cli::Options& options = *commandLine.options;
    return options.resultDir ? fitEach(options) : fitSingle(options);
}
