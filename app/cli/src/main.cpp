// velmora-fit: one fit run of a measurement file without a window.
#include "cli/ConsoleView.h"
#include "cli/Options.h"
#include "cli/StandardStreams.h"
#include "results/OutputFiles.h"
#include "results/TableFile.h"

#include <iostream>
#include <new>

namespace {

// The result table as velmora-fit prints it: one line each, LF ended.
std::string printedTable(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

// Where the run's tables go, each with the outputs' paths, and the bytes
// filled in once the run has given them.
std::vector<velmora::Output> plannedOutputs(const velmora::cli::Options& options) {
    std::vector<velmora::Output> outputs;
    outputs.push_back({options.result.value_or(std::string(velmora::kStandardOutput)), {}});
    if (options.resonance) {
        outputs.push_back({*options.resonance, {}});
    }
    return outputs;
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    cli::writeStandardStreamsUntranslated();
    cli::Options options;
    try {
        options = cli::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const cli::UsageError& e) {
        std::cerr << "velmora-fit: " << e.what() << "\nTry 'velmora-fit --help'.\n";
        return 2;
    }
    if (options.help) {
        try {
            const Output help{std::string(kStandardOutput), cli::usageText()};
            writeOutputs({&help, 1});
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
        return 0;
    }
    cli::ConsoleView view(cli::standardErrorIsTerminal());
    try {
        std::vector<Output> outputs = plannedOutputs(options);
        std::vector<std::string> paths;
        for (const Output& output : outputs) {
            paths.push_back(output.path);
        }
        refuseOutputsOver(paths, options.inputs.dataFile);
        const RunResult result = runFit(options.inputs, view, options.engine);
        view.finish();
        outputs[0].bytes =
            options.result ? tableFileBytes(result.ResultTable) : printedTable(result.ResultTable);
        if (options.resonance) {
            outputs[1].bytes = tableFileBytes(result.ResonanceTable);
        }
        writeOutputs(outputs);
    } catch (const std::bad_alloc&) {
        view.finish();
        std::cerr << "Not enough memory for the result tables\n";
        return 1;
    } catch (const std::exception& e) {
        view.finish();
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
