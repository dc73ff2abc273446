#include "Options.h"

#include <map>

namespace velmora::cli {

const char* const kUsage =
    R"USAGE(Usage: velmora-fit [OPTIONS] [FILE]

Fits a time-resolved light-scattering measurement (FILE, by default
DemoDat.txt in the working directory) to Mie theory, as the Go button of the
velmora window does, and prints the result table.

Options (each defaults to the window's default):
  --mode R|GR1|GR2|none     fitting mode: radius ("R", the default), plasma
                            energy, damping and radius ("G, R (I)"), damping
                            from the polarisation ratio ("G, R (II)"), or none
  --model Drude|Lorents     dielectric function (default Drude)
  --wavelengths L1,L2,L3,L4 the four laser wavelengths in nm
                            (default 457.9,514.5,568.2,647.1)
  --rmin R, --rmax R        radius range in nm (default 20, 200)
  --steps N                 number of radius steps (default 200, at most 1000)
  --wp E, --gamma E         plasma energy and damping in eV, mode R (5.6, 1)
  --wp-min E, --wp-max E    plasma energy range in eV, mode GR1 (5.6, 5.6)
  --gamma-min E, --gamma-max E
                            damping range in eV, mode GR1 (0, 2)
  --wp2 E                   plasma energy in eV, mode GR2 (5.6)
  --gamma2-min E, --gamma2-max E
                            damping range in eV, mode GR2 (0, 2)
  --result FILE             write the result table to FILE (saved-file format,
                            CR LF line ends) instead of standard output
  --resonance FILE          write the resonance table (peak radii) to FILE
  --engine fast|direct      how the fit is computed: "fast" (the default)
                            shares model values and uses every core;
                            "direct" evaluates candidate by candidate, the
                            reference the fast engine matches exactly
  --help                    show this help

Decimal values take the full stop or the comma. On failure the run's message
goes to standard error, the exit status is 1 (2 for a bad command line), and
no output file is written.
)USAGE";

namespace {

// The edit field each number option sets.
const std::map<std::string, int>& fieldOptions() {
    static const std::map<std::string, int> fields = {
        {"--rmin", 8},       {"--rmax", 9},   {"--steps", 10},      {"--wp", 5},
        {"--gamma", 6},      {"--wp-min", 7}, {"--wp-max", 11},     {"--gamma-min", 12},
        {"--gamma-max", 13}, {"--wp2", 18},   {"--gamma2-min", 20}, {"--gamma2-max", 21},
    };
    return fields;
}

int modeIndex(const std::string& value) {
    static const std::map<std::string, FitMode> modes = {
        {"R", FitMode::R}, {"GR1", FitMode::GR1}, {"GR2", FitMode::GR2}, {"none", FitMode::None}};
    const auto found = modes.find(value);
    if (found == modes.end()) {
        throw UsageError("unknown mode '" + value + "' (R, GR1, GR2 or none)");
    }
    return static_cast<int>(found->second);
}

int modelIndex(const std::string& value) {
    if (value == "Drude") {
        return static_cast<int>(Dielectric::Drude);
    }
    if (value == "Lorents") {
        return static_cast<int>(Dielectric::Lorents);
    }
    throw UsageError("unknown model '" + value + "' (Drude or Lorents)");
}

EngineKind engineKind(const std::string& value) {
    if (value == "fast") {
        return EngineKind::Fast;
    }
    if (value == "direct") {
        return EngineKind::Direct;
    }
    throw UsageError("unknown engine '" + value + "' (fast or direct)");
}

void setWavelengths(RunInputs& inputs, const std::string& value) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(value.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (parts.size() != 4) {
        throw UsageError("--wavelengths takes four values separated by commas, got '" + value +
                         "'");
    }
    for (int k = 1; k <= 4; ++k) {
        inputs.edit[k] = parts[k - 1];
    }
}

} // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    options.inputs = RunInputs::defaults();
    options.inputs.fitMode = static_cast<int>(FitMode::R);
    options.inputs.dielectric = static_cast<int>(Dielectric::Drude);
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name.compare(0, 2, "--") != 0) {
            if (haveFile) {
                throw UsageError("more than one measurement file given ('" + name + "')");
            }
            options.inputs.dataFile = name;
            haveFile = true;
            continue;
        }
        std::string value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError("option " + name + " needs a value");
        }
        if (const auto field = fieldOptions().find(name); field != fieldOptions().end()) {
            options.inputs.edit[field->second] = value;
        } else if (name == "--mode") {
            options.inputs.fitMode = modeIndex(value);
        } else if (name == "--model") {
            options.inputs.dielectric = modelIndex(value);
        } else if (name == "--wavelengths") {
            setWavelengths(options.inputs, value);
        } else if (name == "--result") {
            options.result = value;
        } else if (name == "--resonance") {
            options.resonance = value;
        } else if (name == "--engine") {
            options.engine = engineKind(value);
        } else {
            throw UsageError("unknown option " + name);
        }
    }
    return options;
}

} // namespace velmora::cli
