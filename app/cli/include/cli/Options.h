// The command line of velmora-fit.
#pragma once

#include "run/FitRun.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

struct Options {
    RunInputs inputs;                     // the window's defaults, changed by the options
    std::optional<std::string> result;    // --result FILE
    std::optional<std::string> resonance; // --resonance FILE
    EngineKind engine = EngineKind::Fast; // --engine fast|direct
    bool help = false;
};

// A command line that cannot be understood; what() says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Values of the number options
// are passed on as field texts: the run parses them and reports a bad one as
// the window would.
Options parseOptions(const std::vector<std::string>& args);

// The text of --help; the defaults it names are the window's.
std::string usageText();

} // namespace velmora::cli
