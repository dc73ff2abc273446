// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "fit/Printable.h"
#include "options/SettingOptions.h"
#include "run/DataFiles.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>

namespace velmora::cli {

namespace {

const std::map<std::string, EngineKind> kEngines = {{"fast", EngineKind::Fast},
                                                    {"direct", EngineKind::Direct}};
const std::map<std::string, Options::Table> kTables = {{"tsv", Options::Table::Tsv},
                                                       {"csv", Options::Table::Csv}};

// The most threads --threads takes.
constexpr int kMaxThreads = 1024;

constexpr const char* kDescription =
    "Fits time-resolved light-scattering measurements (FILE, by default DemoDat.txt in the "
    "working directory) to Mie theory, as the Go button of the velmora window does, and prints "
    "the result table. Decimal values take the full stop or the comma. After \"--\" every "
    "argument is a FILE, also one that starts with \"-\". Tables on standard "
    "output (without --result, or with \"-\") end their lines with LF; tables written to a FILE "
    "end them with CR LF, as the window saves them. On failure the run's "
    "message goes to standard error, the exit status is 1 (2 for a bad command line), and no "
    "output file is written.";

// The parser, writing into options.
struct Parser {
    CLI::App app{kDescription, "velmora-fit"};
    velmora::options::GivenSettings given{.mode = "R", .model = "Drude", .texts = {}};
    std::string engine = "fast";
    std::string table = "tsv";
    bool demo = false;

    explicit Parser(Options& options) {
        app.set_version_flag("--version", std::string("velmora-fit ") + VELMORA_VERSION);
        app.allow_extras();
        app.add_option("FILE", options.files, "measurement files")->type_name("FILE");
        app.add_flag("--demo", demo, "fit the demo measurement that comes with velmora");
        velmora::options::addSettingOptions(app, given);
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
            ->transform(CLI::IsMember(velmora::options::namesOf(kEngines), CLI::ignore_case))
            ->default_str(engine);
        app.add_option("--threads", options.threads,
                       "the threads the fast engine computes on, the program's own included; by "
                       "default one per processor this process may use")
            ->type_name("N")
            ->check(CLI::Range(1, kMaxThreads));
        app.add_option("--table", table,
                       "the result table's form: tsv, the tab-separated table of the window; csv, "
                       "one comma-separated row per time point of every fitted parameter with "
                       "its unit in the header and the settings in \"# \" lines before it "
                       "(with --result-dir written as DIR/<name>_RNV.csv)")
            ->type_name("FORM")
            ->transform(CLI::IsMember(velmora::options::namesOf(kTables), CLI::ignore_case))
            ->default_str(table);
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

// The arguments the parser left, without the "--" that ended the options
// (the parser leaves the first one, and takes every argument after it as a
// FILE, also one starting with "-").
std::vector<std::string> withoutEndOfOptions(std::vector<std::string> extras) {
    if (const auto mark = std::find(extras.begin(), extras.end(), "--"); mark != extras.end()) {
        extras.erase(mark);
    }
    return extras;
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
        checkCombination(options, withoutEndOfOptions(parser.app.remaining()));
        if (parser.demo) {
            const DataFileLookup demo = findDataFile(kDemoMeasurementName);
            if (!demo.found) {
                throw CLI::ValidationError("--demo: the demo measurement is not installed");
            }
            options.files.insert(options.files.begin(), demo.found->string());
            checkCombination(options, {});
        }
        options.settings = velmora::options::settingsOf(parser.given);
    } catch (const CLI::ParseError& error) {
        const int status = parser.app.exit(error, out, err);
        return {std::nullopt, status == 0 ? 0 : kUsageExitStatus};
    }
    options.engine = kEngines.at(parser.engine);
    options.table = kTables.at(parser.table);
    return {std::move(options), 0};
}

} // namespace velmora::cli
