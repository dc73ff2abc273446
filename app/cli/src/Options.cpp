// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "fit/Numbers.h"
#include "fit/Printable.h"
#include "fit/RunError.h"
#include "fit/SearchGeometry.h"
#include "run/DataFiles.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>

namespace velmora::cli {

namespace {

// A default as the command line writes it: the shortest text that reads
// back as the same number, with the full stop.
std::string shown(double value) {
    std::string text = formatGeneral(value);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

const std::map<std::string, FitMode> kModes = {
    {"R", FitMode::R}, {"GR1", FitMode::GR1}, {"GR2", FitMode::GR2}, {"none", FitMode::None}};
const std::map<std::string, Dielectric> kModels = {{"Drude", Dielectric::Drude},
                                                   {"Lorents", Dielectric::Lorents}};
const std::map<std::string, EngineKind> kEngines = {{"fast", EngineKind::Fast},
                                                    {"direct", EngineKind::Direct}};

template <typename Value> std::set<std::string> names(const std::map<std::string, Value>& table) {
    std::set<std::string> keys;
    for (const auto& entry : table) {
        keys.insert(entry.first);
    }
    return keys;
}

// A decimal option and the setting it sets.
struct NumberOption {
    const char* name;
    Setting setting;
    double& (*value)(FitSettings&);
    const char* description;
};

const NumberOption kNumberOptions[] = {
    {"--rmin", Setting::Rmin, [](FitSettings& s) -> double& { return s.radius.rmin; },
     "smallest radius in nm"},
    {"--rmax", Setting::Rmax, [](FitSettings& s) -> double& { return s.radius.rmax; },
     "largest radius in nm"},
    {"--wp", Setting::PlasmaEnergy, [](FitSettings& s) -> double& { return s.plasmaEnergy; },
     "plasma energy in eV, mode R"},
    {"--gamma", Setting::Damping, [](FitSettings& s) -> double& { return s.damping; },
     "damping in eV, mode R"},
    {"--wp-min", Setting::JointPlasmaEnergyLowest,
     [](FitSettings& s) -> double& { return s.jointPlasmaEnergy.lowest; },
     "smallest plasma energy in eV, mode GR1"},
    {"--wp-max", Setting::JointPlasmaEnergyHighest,
     [](FitSettings& s) -> double& { return s.jointPlasmaEnergy.highest; },
     "largest plasma energy in eV, mode GR1"},
    {"--gamma-min", Setting::JointDampingLowest,
     [](FitSettings& s) -> double& { return s.jointDamping.lowest; },
     "smallest damping in eV, mode GR1"},
    {"--gamma-max", Setting::JointDampingHighest,
     [](FitSettings& s) -> double& { return s.jointDamping.highest; },
     "largest damping in eV, mode GR1"},
    {"--wp2", Setting::PolarizationPlasmaEnergy,
     [](FitSettings& s) -> double& { return s.polarizationPlasmaEnergy; },
     "plasma energy in eV, mode GR2"},
    {"--gamma2-min", Setting::PolarizationDampingLowest,
     [](FitSettings& s) -> double& { return s.polarizationDamping.lowest; },
     "smallest damping in eV, mode GR2"},
    {"--gamma2-max", Setting::PolarizationDampingHighest,
     [](FitSettings& s) -> double& { return s.polarizationDamping.highest; },
     "largest damping in eV, mode GR2"},
};

constexpr const char* kStepsOption = "--steps";
constexpr const char* kModelOption = "--model";
constexpr const char* kWavelengthsOption = "--wavelengths";

// The option that sets a setting, as a refusal names it.
std::string optionName(Setting setting) {
    for (const NumberOption& number : kNumberOptions) {
        if (number.setting == setting) {
            return number.name;
        }
    }
    switch (setting) {
    case Setting::Steps:
        return kStepsOption;
    case Setting::Model:
        return kModelOption;
    default:
        return std::string(kWavelengthsOption) + " (wavelength " +
               std::to_string(static_cast<int>(setting) - static_cast<int>(Setting::Wavelength1) +
                              1) +
               ")";
    }
}

// The number an option's text holds; a text that is none is a bad command
// line naming the option.
template <typename Parse>
auto optionValue(const std::string& option, const std::string& text, Parse parse) {
    try {
        return parse(text);
    } catch (const RunError& failure) {
        throw CLI::ValidationError(option + ": " + failure.what());
    }
}

constexpr const char* kDescription =
    "Fits time-resolved light-scattering measurements (FILE, by default DemoDat.txt in the "
    "working directory) to Mie theory, as the Go button of the velmora window does, and prints "
    "the result table. Decimal values take the full stop or the comma. Tables on standard "
    "output (without --result, or with \"-\") end their lines with LF; tables written to a FILE "
    "end them with CR LF, as the window saves them. On failure the run's "
    "message goes to standard error, the exit status is 1 (2 for a bad command line), and no "
    "output file is written.";

// The parser, writing into options.
struct Parser {
    CLI::App app{kDescription, "velmora-fit"};
    std::string mode = "R";
    std::string model = "Drude";
    std::string engine = "fast";
    std::vector<std::string> wavelengths;
    std::map<std::string, std::string> numbers; // option name -> text, as given
    bool demo = false;

    explicit Parser(Options& options) {
        const FitSettings defaults;
        app.set_version_flag("--version", std::string("velmora-fit ") + VELMORA_VERSION);
        app.allow_extras();
        app.add_option("FILE", options.files, "measurement files")->type_name("FILE");
        app.add_flag("--demo", demo, "fit the demo measurement that comes with velmora");
        app.add_option("--mode", mode,
                       "fitting mode: radius (R), plasma energy, damping and radius (GR1, "
                       "\"G, R (I)\"), damping from the polarisation ratio (GR2, \"G, R (II)\") "
                       "or none; any letter case")
            ->type_name("MODE")
            ->transform(CLI::IsMember(names(kModes), CLI::ignore_case))
            ->default_str(mode);
        app.add_option(kModelOption, model, "dielectric function; any letter case")
            ->type_name("MODEL")
            ->transform(CLI::IsMember(names(kModels), CLI::ignore_case))
            ->default_str(model);
        app.add_option(kWavelengthsOption, wavelengths, "the four laser wavelengths in nm")
            ->type_name("L1,L2,L3,L4")
            ->delimiter(',')
            ->expected(kWavelengths)
            ->default_str(shown(defaults.wavelengths[0]) + ',' + shown(defaults.wavelengths[1]) +
                          ',' + shown(defaults.wavelengths[2]) + ',' +
                          shown(defaults.wavelengths[3]));
        FitSettings shownDefaults = defaults;
        for (const NumberOption& number : kNumberOptions) {
            addNumber(number.name, number.description, shown(number.value(shownDefaults)));
            if (number.setting == Setting::Rmax) {
                addNumber(kStepsOption,
                          "number of radius steps, at least " +
                              std::to_string(firstReach(FitMode::R)) + " (mode R) or " +
                              std::to_string(firstReach(FitMode::GR1)) +
                              " (GR1, GR2) and at most " + std::to_string(kMaxRadiusSteps),
                          std::to_string(defaults.radius.steps));
            }
        }
        app.add_option("--result", options.result,
                       "write the result table to this file instead of standard output")
            ->type_name("FILE");
        app.add_option("--resonance", options.resonance,
                       "write the resonance table (peak radii) to this file (\"-\" for either "
                       "means standard output; a file is replaced only once every table is "
                       "complete, and the measurement itself is never replaced)")
            ->type_name("FILE");
        app.add_option("--result-dir", options.resultDir,
                       "fit every FILE and write DIR/<name>_RNV.dat and DIR/<name>_WR.dat "
                       "for each")
            ->type_name("DIR");
        app.add_option("--engine", engine,
                       "how the fit is computed: fast shares model values and uses every core; "
                       "direct evaluates candidate by candidate, the reference the fast engine "
                       "matches exactly")
            ->type_name("ENGINE")
            ->transform(CLI::IsMember(names(kEngines), CLI::ignore_case))
            ->default_str(engine);
    }

    void addNumber(const std::string& name, const std::string& description,
                   const std::string& defaultText) {
        app.add_option_function<std::string>(
               name, [this, name](const std::string& text) { numbers[name] = text; }, description)
            ->type_name("NUMBER")
            ->default_str(defaultText);
    }

    // The settings the options give, checked.
    FitSettings settings() const {
        FitSettings s;
        s.mode = kModes.at(mode);
        s.model = kModels.at(model);
        for (std::size_t k = 0; k < wavelengths.size(); ++k) {
            s.wavelengths[k] = optionValue(kWavelengthsOption, wavelengths[k], parseDecimal);
        }
        for (const NumberOption& number : kNumberOptions) {
            if (const auto given = numbers.find(number.name); given != numbers.end()) {
                number.value(s) = optionValue(number.name, given->second, parseDecimal);
            }
        }
        if (const auto given = numbers.find(kStepsOption); given != numbers.end()) {
            s.radius.steps = optionValue(kStepsOption, given->second, parseInteger);
        }
        if (const auto refusal = refusalOf(s)) {
            throw CLI::ValidationError(refusalMessage(*refusal, optionName(refusal->setting)));
        }
        return s;
    }
};

// The file names given more than once by their output name <name>: their
// tables would overwrite each other.
std::optional<std::string> clashingOutputName(const std::vector<std::string>& files) {
    std::set<std::string> seen;
    for (const std::string& file : files) {
        const std::string stem = std::filesystem::path(file).stem().string();
        if (!seen.insert(stem).second) {
            return stem;
        }
    }
    return std::nullopt;
}

// The command line's own checks, beyond what the parser knows.
void checkCombination(const Options& options, const std::vector<std::string>& extras) {
    for (const std::string& extra : extras) {
        if (extra.size() > 1 && extra.front() == '-') {
            throw CLI::ExtrasError("unknown option " + printable(extra),
                                   CLI::ExitCodes::ExtrasError);
        }
    }
    if (!extras.empty()) {
        throw CLI::ExtrasError(extras);
    }
    if (options.resultDir) {
        if (options.result || options.resonance) {
            throw CLI::ValidationError("--result-dir writes both tables of every file; it "
                                       "excludes --result and --resonance");
        }
        if (const auto stem = clashingOutputName(options.files)) {
            throw CLI::ValidationError("two files would write the tables of '" + printable(*stem) +
                                       "' in --result-dir");
        }
    } else if (options.files.size() > 1) {
        throw CLI::ValidationError("several measurement files need --result-dir DIR");
    }
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                             std::ostream& err) {
    Options options;
    Parser parser(options);
    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        parser.app.parse(reversed);
        checkCombination(options, parser.app.remaining());
        if (parser.demo) {
            const DataFileLookup demo = findDataFile(kDemoMeasurementName);
            if (!demo.found) {
                throw CLI::ValidationError("--demo: the demo measurement is not installed");
            }
            options.files.insert(options.files.begin(), demo.found->string());
            checkCombination(options, {});
        }
        options.settings = parser.settings();
    } catch (const CLI::ParseError& error) {
        const int status = parser.app.exit(error, out, err);
        return {std::nullopt, status == 0 ? 0 : kUsageExitStatus};
    }
    options.engine = kEngines.at(parser.engine);
    return {std::move(options), 0};
}

} // namespace velmora::cli
