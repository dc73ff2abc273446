// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "fit/Printable.h"
#include "fit/RunParameters.h"
#include "run/DataFiles.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>

namespace velmora::cli {

namespace {

// A field's default as the command line writes it, with the full stop.
std::string shown(Field field) {
    std::string text(defaultText(field));
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

struct NumberOption {
    const char* name;
    Field field;
    const char* description;
};

const NumberOption kNumberOptions[] = {
    {"--rmin", Field::Rmin, "smallest radius in nm"},
    {"--rmax", Field::Rmax, "largest radius in nm"},
    {"--steps", Field::N, "number of radius steps"},
    {"--wp", Field::Wp, "plasma energy in eV, mode R"},
    {"--gamma", Field::Gam, "damping in eV, mode R"},
    {"--wp-min", Field::WpMin, "smallest plasma energy in eV, mode GR1"},
    {"--wp-max", Field::WpMax, "largest plasma energy in eV, mode GR1"},
    {"--gamma-min", Field::GamMin, "smallest damping in eV, mode GR1"},
    {"--gamma-max", Field::GamMax, "largest damping in eV, mode GR1"},
    {"--wp2", Field::PolWp, "plasma energy in eV, mode GR2"},
    {"--gamma2-min", Field::PolGamMin, "smallest damping in eV, mode GR2"},
    {"--gamma2-max", Field::PolGamMax, "largest damping in eV, mode GR2"},
};

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
    bool demo = false;

    explicit Parser(Options& options) {
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
        app.add_option("--model", model, "dielectric function; any letter case")
            ->type_name("MODEL")
            ->transform(CLI::IsMember(names(kModels), CLI::ignore_case))
            ->default_str(model);
        app.add_option("--wavelengths", wavelengths, "the four laser wavelengths in nm")
            ->type_name("L1,L2,L3,L4")
            ->delimiter(',')
            ->expected(kWavelengths)
            ->default_str(shown(Field::Lambda1) + ',' + shown(Field::Lambda2) + ',' +
                          shown(Field::Lambda3) + ',' + shown(Field::Lambda4));
        for (const NumberOption& number : kNumberOptions) {
            std::string description = number.description;
            if (number.field == Field::N) {
                description += ", at most " + std::to_string(kMaxRadiusSteps);
            }
            app.add_option(number.name, options.inputs.text(number.field), description)
                ->type_name("NUMBER")
                ->default_str(shown(number.field));
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
    options.inputs = RunInputs::defaults();
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
    } catch (const CLI::ParseError& error) {
        const int status = parser.app.exit(error, out, err);
        return {std::nullopt, status == 0 ? 0 : kUsageExitStatus};
    }
    options.inputs.fitMode = static_cast<int>(kModes.at(parser.mode));
    options.inputs.dielectric = static_cast<int>(kModels.at(parser.model));
    options.engine = kEngines.at(parser.engine);
    if (!parser.wavelengths.empty()) {
        for (int k = 1; k <= kWavelengths; ++k) {
            options.inputs.text(lambdaField(k)) = parser.wavelengths[k - 1];
        }
    }
    if (!options.files.empty()) {
        options.inputs.dataFile = options.files.front();
    }
    return {std::move(options), 0};
}

} // namespace velmora::cli
