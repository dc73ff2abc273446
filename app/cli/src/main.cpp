// velmora-fit: one fit run of a measurement file without a window.
#include "cli/ConsoleView.h"
#include "cli/Options.h"
#include "cli/StandardStreams.h"
#include "results/TableFile.h"

#include <cstdio>
#include <iostream>

namespace {

void printTable(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << line << '\n';
    }
    std::cout.flush();
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
        std::cout << cli::usageText();
        return 0;
    }
    cli::ConsoleView view(cli::standardErrorIsTerminal());
    try {
        const RunResult result = runFit(options.inputs, view, options.engine);
        view.finish();
        if (options.result) {
            writeTableFile(*options.result, result.ResultTable);
        } else {
            printTable(result.ResultTable);
        }
        if (options.resonance) {
            writeTableFile(*options.resonance, result.ResonanceTable);
        }
    } catch (const std::exception& e) {
        view.finish();
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
