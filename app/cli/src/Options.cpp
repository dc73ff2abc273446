#include "cli/Options.h"

#include "fit/Match.h"
#include "fit/RunParameters.h"

#include <algorithm>
#include <map>

namespace velmora::cli {

namespace {

// A field's default as the command line writes it, with the full stop.
std::string shown(Field field) {
    std::string text(defaultText(field));
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

} // namespace

std::string usageText() {
    return R"USAGE(Usage: velmora-fit [OPTIONS] [FILE]

Fits a time-resolved light-scattering measurement (FILE, by default
DemoDat.txt in the working directory) to Mie theory, as the Go button of the
velmora window does, and prints the result table.

Options (each defaults to the window's default):
  --mode R|GR1|GR2|none     fitting mode: radius ("R", the default), plasma
                            energy, damping and radius ("G, R (I)"), damping
                            from the polarisation ratio ("G, R (II)"), or none
  --model Drude|Lorents     dielectric function (default Drude)
  --wavelengths L1,L2,L3,L4 the four laser wavelengths in nm
                            (default )USAGE" +
           shown(Field::Lambda1) + ',' + shown(Field::Lambda2) + ',' + shown(Field::Lambda3) + ',' +
           shown(Field::Lambda4) + R"USAGE()
  --rmin R, --rmax R        radius range in nm (default )USAGE" +
           shown(Field::Rmin) + ", " + shown(Field::Rmax) + R"USAGE()
  --steps N                 number of radius steps (default )USAGE" +
           shown(Field::N) + ", at most " + std::to_string(kMaxRadiusSteps) + R"USAGE()
  --wp E, --gamma E         plasma energy and damping in eV, mode R ()USAGE" +
           shown(Field::Wp) + ", " + shown(Field::Gam) + R"USAGE()
  --wp-min E, --wp-max E    plasma energy range in eV, mode GR1 ()USAGE" +
           shown(Field::WpMin) + ", " + shown(Field::WpMax) + R"USAGE()
  --gamma-min E, --gamma-max E
                            damping range in eV, mode GR1 ()USAGE" +
           shown(Field::GamMin) + ", " + shown(Field::GamMax) + R"USAGE()
  --wp2 E                   plasma energy in eV, mode GR2 ()USAGE" +
           shown(Field::PolWp) + R"USAGE()
  --gamma2-min E, --gamma2-max E
                            damping range in eV, mode GR2 ()USAGE" +
           shown(Field::PolGamMin) + ", " + shown(Field::PolGamMax) + R"USAGE()
  --result FILE             write the result table to FILE (saved-file format,
                            CR LF line ends) instead of standard output
  --resonance FILE          write the resonance table (peak radii) to FILE
                            ("-" for either means standard output; a file
                            is replaced only once every table is complete,
                            and the measurement itself is never replaced)
  --engine fast|direct      how the fit is computed: "fast" (the default)
                            shares model values and uses every core;
                            "direct" evaluates candidate by candidate, the
                            reference the fast engine matches exactly
  --help                    show this help

Decimal values take the full stop or the comma. On failure the run's message
goes to standard error, the exit status is 1 (2 for a bad command line), and
no output file is written.
)USAGE";
}

namespace {

// The field each number option sets.
const std::map<std::string, Field>& fieldOptions() {
    static const std::map<std::string, Field> fields = {
        {"--rmin", Field::Rmin},
        {"--rmax", Field::Rmax},
        {"--steps", Field::N},
        {"--wp", Field::Wp},
        {"--gamma", Field::Gam},
        {"--wp-min", Field::WpMin},
        {"--wp-max", Field::WpMax},
        {"--gamma-min", Field::GamMin},
        {"--gamma-max", Field::GamMax},
        {"--wp2", Field::PolWp},
        {"--gamma2-min", Field::PolGamMin},
        {"--gamma2-max", Field::PolGamMax},
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
    for (int k = 1; k <= kWavelengths; ++k) {
        inputs.text(lambdaField(k)) = parts[k - 1];
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
            options.inputs.text(field->second) = value;
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
