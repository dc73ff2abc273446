// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "results/TableFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace velmora {
namespace {

// velmora-fit run as a user runs it, in a scratch working directory that
// holds a small measurement as DemoDat.txt.
class VelmoraFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeMeasurement(dir.file("DemoDat.txt"),
                               {{0.0, 30.0, 50.0}, {1.0, 31.0, 49.0}, {2.0, 33.0, 48.0}});
    }

    // Runs the program with the arguments; returns its exit status.
    // Standard output goes to `standardOutput` (a redirection's target).
    int run(const std::string& args, const std::string& standardOutput = "stdout.txt") {
        test::writeText(dir.file("stdout.txt"), "");
        const std::string command = "cd '" + dir.path().string() + "' && '" + VELMORA_FIT_PROGRAM +
                                    "' " + args + " >" + standardOutput + " 2>stderr.txt";
        const int status = std::system(command.c_str());
        out = test::readBytes(dir.file("stdout.txt"));
        err = test::readBytes(dir.file("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    FitResult engineResult(FieldInputs inputs) {
        inputs.dataFile = dir.file("DemoDat.txt");
        test::RecordingView view;
        return runFit(inputs, view);
    }

    test::ScratchDir dir;
    std::string out;
    std::string err;
};

TEST_F(VelmoraFitTest, PrintsTheResultTableOfTheDefaultFit) {
    ASSERT_EQ(run(""), 0) << err;
    const FitResult expected = engineResult(test::inputsFor(FitMode::R, ""));
    std::string table;
    for (const std::string& line : expected.ResultTable) {
        table += line + "\n";
    }
    EXPECT_EQ(out, table);
    EXPECT_EQ(err, "");
}

TEST_F(VelmoraFitTest, WritesBothTablesInTheSavedFormat) {
    ASSERT_EQ(run("--mode GR2 --rmin 25 --rmax 45 --steps 20 --gamma2-max 1.5 --result r.dat "
                  "--resonance=w.dat DemoDat.txt"),
              0)
        << err;
    EXPECT_EQ(out, "");
    FieldInputs inputs = test::inputsFor(FitMode::GR2, "");
    test::setField(inputs, Field::Rmin, "25");
    test::setField(inputs, Field::Rmax, "45");
    test::setField(inputs, Field::N, "20");
    test::setField(inputs, Field::PolGamMax, "1,5");
    const FitResult expected = engineResult(inputs);
    writeTableFile(dir.file("expected_r.dat"), expected.ResultTable);
    writeTableFile(dir.file("expected_w.dat"), expected.ResonanceTable);
    EXPECT_EQ(test::readBytes(dir.file("r.dat")), test::readBytes(dir.file("expected_r.dat")));
    EXPECT_EQ(test::readBytes(dir.file("w.dat")), test::readBytes(dir.file("expected_w.dat")));
    const std::string saved = test::readBytes(dir.file("r.dat"));
    EXPECT_EQ(saved.substr(0, saved.find('\n') + 1),
              "Time\tRadius\tConc\tVx\tNp\tNb\tGamma [eV]\r\n");
}

// The tidy table, read back: comment lines, the header, and per time point
// the run's own numbers to the last bit; cells the run has no value for are
// empty.
TEST_F(VelmoraFitTest, TidyTableHoldsTheFittedParametersOfEveryTimePoint) {
    ASSERT_EQ(run("--mode GR1 --rmax 60 --steps 20 --wp-min 5.2 --table CSV --result r.csv"), 0)
        << err;
    FieldInputs inputs = test::inputsFor(FitMode::GR1, "");
    test::setField(inputs, Field::Rmax, "60");
    test::setField(inputs, Field::N, "20");
    test::setField(inputs, Field::WpMin, "5,2");
    const FitResult expected = engineResult(inputs);

    std::istringstream saved(test::readBytes(dir.file("r.csv")));
    std::vector<std::string> comments;
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(saved, line);) {
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        if (line.rfind("# ", 0) == 0) {
            comments.push_back(line);
            continue;
        }
        std::vector<std::string> cells(1);
        for (const char c : line) {
            if (c == ',') {
                cells.emplace_back();
            } else {
                cells.back().push_back(c);
            }
        }
        rows.push_back(cells);
    }
    EXPECT_NE(std::find(comments.begin(), comments.end(), "# measurement = DemoDat.txt"),
              comments.end());
    EXPECT_NE(std::find(comments.begin(), comments.end(), "# wp min (mode GR1) = 5.2 eV"),
              comments.end());
    ASSERT_EQ(rows.size(), 1u + expected.timePoints);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"time_s", "radius_nm", "radius_se_nm", "sigma", "sigma_se",
                                        "wp_eV", "wp_se_eV", "gamma_eV", "gamma_se_eV",
                                        "concentration", "concentration_se", "vx_percent",
                                        "chi2_red", "converged", "inside_ranges"}));
    for (int t = 1; t <= expected.timePoints; ++t) {
        const std::vector<std::string>& cells = rows[t];
        ASSERT_EQ(cells.size(), 15u);
        EXPECT_EQ(std::stod(cells[0]), expected.T[t]);
        EXPECT_EQ(std::stod(cells[1]), expected.Rfit[t]);
        EXPECT_EQ(std::stod(cells[3]), 0.0);
        EXPECT_EQ(std::stod(cells[5]), expected.WpFit[t]);
        EXPECT_EQ(std::stod(cells[7]), expected.GamFit[t]);
        EXPECT_EQ(std::stod(cells[9]), expected.Conc[t]);
        EXPECT_EQ(std::stod(cells[11]), expected.VxFit[t]);
        for (const int empty : {2, 4, 6, 8, 10, 12, 13, 14}) {
            EXPECT_EQ(cells[empty], "") << t << ' ' << empty;
        }
    }
}

TEST_F(VelmoraFitTest, FailureReportsTheRunMessageAndWritesNothing) {
    test::writeText(dir.file("kept.dat"), "kept");
    EXPECT_EQ(run("--result new.dat --resonance kept.dat missing.txt"), 1);
    EXPECT_EQ(err, "Cannot open file missing.txt: No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.dat")));
    EXPECT_EQ(test::readBytes(dir.file("kept.dat")), "kept");
    EXPECT_EQ(run("--wavelengths 457.9,1e-300,568.2,647.1"), 1);
    EXPECT_EQ(err, "Floating point overflow\n");
    EXPECT_EQ(out, "");
}

// Settings that are no number or cannot be run are a bad command line that
// names the option and says what it takes; nothing is fitted or written.
TEST_F(VelmoraFitTest, RefusedSettingsNameTheirOption) {
    const std::pair<std::string, std::string> cases[] = {
        {"--rmin abc --result new.dat", "--rmin: 'abc' is not a valid floating point value"},
        {"--steps 2.5 --result new.dat", "--steps: '2.5' is not a valid integer value"},
        {"--steps 1 --result new.dat",
         "--steps must be at least 10 and at most 1000 radius steps in mode R"},
        {"--mode GR1 --steps 1001 --result new.dat",
         "--steps must be at least 20 and at most 1000 radius steps in mode G, R (I)"},
        {"--rmin 200 --rmax 20 --result new.dat",
         "--rmax must be a radius above the smallest radius"},
        {"--wavelengths 457.9,0,568.2,647.1 --result new.dat",
         "--wavelengths (wavelength 2) must be a wavelength above 0 nm"},
        {"--mode GR2 --gamma2-min 3 --result new.dat",
         "--gamma2-min must not be above the highest damping"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args);
        EXPECT_EQ(run(args), 2);
        EXPECT_EQ(err.rfind(message + "\n", 0), 0u) << err;
        EXPECT_EQ(out, "");
        EXPECT_FALSE(std::filesystem::exists(dir.file("new.dat")));
    }
    // A value of another mode is not checked.
    EXPECT_EQ(run("--mode R --gamma2-min 3"), 0) << err;
}

TEST_F(VelmoraFitTest, TheMeasurementIsNeverReplaced) {
    const std::string measurement = test::readBytes(dir.file("DemoDat.txt"));
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink("../DemoDat.txt", dir.file("sub/link.txt"));
    for (const std::string output : {"DemoDat.txt", "./sub/../DemoDat.txt", "sub/link.txt"}) {
        EXPECT_EQ(run("--result w.dat --resonance " + output), 1);
        EXPECT_EQ(err, "The output file " + output +
                           " is the measurement DemoDat.txt; writing it would replace the "
                           "measurement\n");
        EXPECT_EQ(test::readBytes(dir.file("DemoDat.txt")), measurement);
        EXPECT_FALSE(std::filesystem::exists(dir.file("w.dat")));
    }
    EXPECT_EQ(run("--result sub/link.txt sub/link.txt"), 1);
    EXPECT_EQ(test::readBytes(dir.file("DemoDat.txt")), measurement);
}

TEST_F(VelmoraFitTest, OneFailingOutputLeavesTheOthersAsTheyWere) {
    test::writeText(dir.file("k.dat"), "old k");
    EXPECT_EQ(run("--result k.dat --resonance nonexistent/r.dat"), 1);
    EXPECT_EQ(err, "Cannot write file nonexistent/r.dat: No such file or directory\n");
    EXPECT_EQ(test::readBytes(dir.file("k.dat")), "old k");
    // Standard output ends lines with LF, a file with CR LF.
    ASSERT_EQ(run("--result - --resonance k.dat"), 0) << err;
    EXPECT_EQ(out.substr(0, 20), "Time\tRadius\tConc\tVx\n");
    EXPECT_EQ(out.find('\r'), std::string::npos);
    EXPECT_EQ(test::readBytes(dir.file("k.dat")).substr(0, 20), "W [eV]\tRmaxV\tRmaxH\r\n");
}

TEST_F(VelmoraFitTest, AStandardOutputThatCannotBeWrittenFailsTheRun) {
    if (!std::filesystem::is_character_file("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    EXPECT_EQ(run("", "/dev/full"), 1);
    EXPECT_EQ(err, "Cannot write standard output: No space left on device\n");
    EXPECT_EQ(run("--help", "/dev/full"), 1);
    EXPECT_EQ(run("--result /dev/stdout", "/dev/full"), 1);
    EXPECT_EQ(err, "Cannot write file /dev/stdout: No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    // Standard output closed altogether.
    EXPECT_EQ(run("", "&-"), 1);
    EXPECT_EQ(err, "Cannot write standard output: Bad file descriptor\n");
}

TEST_F(VelmoraFitTest, BadCommandLinesAreRefused) {
    EXPECT_EQ(run("--mode X"), 2);
    EXPECT_NE(err.find("X not in"), std::string::npos) << err;
    EXPECT_EQ(run("--wavelengths 1,2,3"), 2);
    EXPECT_EQ(run("--steps"), 2);
    EXPECT_EQ(run("--threads 0"), 2);
    EXPECT_NE(err.find("--threads"), std::string::npos) << err;
    EXPECT_EQ(run("--foo"), 2);
    EXPECT_NE(err.find("unknown option --foo"), std::string::npos) << err;
    EXPECT_EQ(run("--colour red"), 2);
    EXPECT_NE(err.find("unknown option --colour"), std::string::npos) << err;
    // A short option is an option, never a file name.
    EXPECT_EQ(run("-v"), 2);
    EXPECT_NE(err.find("unknown option -v"), std::string::npos) << err;
    EXPECT_EQ(run("a.txt b.txt"), 2);
    EXPECT_NE(err.find("--result-dir"), std::string::npos) << err;
    EXPECT_EQ(run("--result-dir out --result r.dat DemoDat.txt"), 2);
    EXPECT_EQ(run("--result-dir out a/x.txt b/x.dat"), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(out.find("Usage: velmora-fit [OPTIONS] [FILE...]"), std::string::npos) << out;
    EXPECT_NE(out.find("--result-dir"), std::string::npos);
}

// --wavelengths takes its four values in one argument, so that the next
// argument stays the file; "--" ends the options, so that a file may start
// with "-".
TEST_F(VelmoraFitTest, FilesAfterTheWavelengthsAndTheEndOfOptionsStayFiles) {
    ASSERT_EQ(run(""), 0) << err;
    const std::string defaultFit = out;
    ASSERT_EQ(run("--wavelengths 457.9,514.5,568.2,647.1 DemoDat.txt"), 0) << err;
    EXPECT_EQ(out, defaultFit);
    EXPECT_EQ(run("--wavelengths 457.9,514.5,568.2 DemoDat.txt"), 2);
    EXPECT_NE(err.find("--wavelengths: four wavelengths are needed"), std::string::npos) << err;
    EXPECT_EQ(run("--wavelengths 457.9,514.5,568.2,647.1,700 DemoDat.txt"), 2);
    EXPECT_EQ(out, "");

    test::writeMeasurement(dir.file("-x"), {{0.0, 20.0, 40.0}, {1.0, 25.0, 41.0}});
    test::writeMeasurement(dir.file("x"), {{0.0, 20.0, 40.0}, {1.0, 25.0, 41.0}});
    ASSERT_EQ(run("x"), 0) << err;
    const std::string fitOfX = out;
    ASSERT_EQ(run("--mode R -- -x"), 0) << err;
    EXPECT_EQ(out, fitOfX);
    EXPECT_NE(out, defaultFit);
    EXPECT_EQ(run("-x"), 2);
}

TEST_F(VelmoraFitTest, VersionAndNamesInAnyLetterCase) {
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(out, std::string("velmora-fit ") + VELMORA_VERSION + "\n");
    ASSERT_EQ(run("--mode GR1 --model Lorents --steps 20 --rmax 60"), 0) << err;
    const std::string expected = out;
    ASSERT_EQ(run("--mode gr1 --model LORENTS --steps 20 --rmax 60"), 0) << err;
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "Time\tRadius\tConc\tVx\tGamma\tWp [eV]\n");
    ASSERT_EQ(run("--mode r --model drude --engine DIRECT"), 0) << err;
    EXPECT_EQ(out.substr(0, 20), "Time\tRadius\tConc\tVx\n");
}

// Many files in one call: each fitted with the same fields, its two tables
// written under its own name; a failing file is named and the others are
// still written.
TEST_F(VelmoraFitTest, ResultDirFitsEveryFileAndReportsEachFailure) {
    test::writeMeasurement(dir.file("second.dat"),
                           {{0.0, 20.0, 40.0}, {1.0, 25.0, 41.0}, {2.0, 29.0, 45.0}});
    std::filesystem::create_directory(dir.file("out"));
    EXPECT_EQ(run("--steps 40 --result-dir out DemoDat.txt missing.txt second.dat"), 1);
    EXPECT_EQ(err, "missing.txt: Cannot open file missing.txt: No such file or directory\n");
    for (const std::string name : {"DemoDat", "second"}) {
        const std::string file = name == std::string("DemoDat") ? "DemoDat.txt" : "second.dat";
        ASSERT_EQ(
            run("--steps 40 --result " + name + "_r.dat --resonance " + name + "_w.dat " + file), 0)
            << err;
        EXPECT_EQ(test::readBytes(dir.file("out/" + name + "_RNV.dat")),
                  test::readBytes(dir.file(name + "_r.dat")))
            << name;
        EXPECT_EQ(test::readBytes(dir.file("out/" + name + "_WR.dat")),
                  test::readBytes(dir.file(name + "_w.dat")))
            << name;
    }
    EXPECT_NE(test::readBytes(dir.file("out/DemoDat_RNV.dat")),
              test::readBytes(dir.file("out/second_RNV.dat")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/missing_RNV.dat")));
    EXPECT_EQ(run("--steps 40 --result-dir out second.dat"), 0) << err;
    // A folder that is not there is made, as the batch recipes need.
    EXPECT_EQ(run("--steps 40 --result-dir made/here second.dat"), 0) << err;
    EXPECT_EQ(test::readBytes(dir.file("made/here/second_RNV.dat")),
              test::readBytes(dir.file("out/second_RNV.dat")));
    // No file's tables may replace a measurement of the call, before or
    // after it is read; the other files are still fitted.
    std::filesystem::copy_file(dir.file("second.dat"), dir.file("out/second_RNV.dat"),
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(run("--steps 40 --result-dir out second.dat out/second_RNV.dat DemoDat.txt"), 1);
    EXPECT_EQ(err, "second.dat: The output file out/second_RNV.dat is the measurement "
                   "out/second_RNV.dat; writing it would replace the measurement\n");
    EXPECT_EQ(test::readBytes(dir.file("out/second_RNV.dat")),
              test::readBytes(dir.file("second.dat")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/second_RNV_WR.dat")));
}

// The names of standard output are its open descriptor: an appending
// redirection keeps what was there, and a pipe is written.
TEST_F(VelmoraFitTest, DevStdoutIsTheOpenStandardOutput) {
    ASSERT_EQ(run("--resonance w.dat"), 0) << err;
    const std::string table = out;
    for (const std::string name : {"/dev/stdout", "/proc/self/fd/1", "/dev/fd/1"}) {
        test::writeText(dir.file("run.log"), "earlier line\n");
        // run() redirects with ">" and the name: ">run.log" appends.
        ASSERT_EQ(run("--resonance w.dat --result " + name, ">run.log"), 0) << err;
        ASSERT_EQ(run("--resonance w.dat --result " + name, ">run.log"), 0) << err;
        std::string saved;
        for (std::size_t at = 0; at < table.size(); at = table.find('\n', at) + 1) {
            saved += table.substr(at, table.find('\n', at) - at) + "\r\n";
        }
        EXPECT_EQ(test::readBytes(dir.file("run.log")), "earlier line\n" + saved + saved) << name;
        const std::string piped = "cd '" + dir.path().string() + "' && '" + VELMORA_FIT_PROGRAM +
                                  "' --result " + name + " 2>stderr.txt | head -c 5 >head.txt";
        EXPECT_EQ(std::system(piped.c_str()), 0);
        EXPECT_EQ(test::readBytes(dir.file("head.txt")), "Time\t") << name;
    }
}

TEST_F(VelmoraFitTest, NoModeGivesAnEmptyTable) {
    ASSERT_EQ(run("--mode none --model Lorents --result r.dat"), 0) << err;
    EXPECT_EQ(test::readBytes(dir.file("r.dat")), "");
    EXPECT_NE(err.find("--mode none fits nothing"), std::string::npos) << err;
}

// --engine: both engines print the same tables, the fast one is the
// default, and an unknown engine is a bad command line.
TEST_F(VelmoraFitTest, BothEnginesPrintTheSameTables) {
    for (const std::string mode : {"R", "GR2"}) {
        ASSERT_EQ(run("--mode " + mode + " --engine direct --resonance wr.dat"), 0) << err;
        const std::string direct = out;
        const std::string directPeaks = test::readBytes(dir.file("wr.dat"));
        ASSERT_EQ(run("--mode " + mode + " --engine fast --resonance wr.dat"), 0) << err;
        EXPECT_EQ(out, direct) << mode;
        EXPECT_EQ(test::readBytes(dir.file("wr.dat")), directPeaks) << mode;
        ASSERT_EQ(run("--mode " + mode), 0) << err;
        EXPECT_EQ(out, direct) << mode;
        EXPECT_EQ(out.substr(0, 5), "Time\t");
    }
}

TEST_F(VelmoraFitTest, UnknownEngineIsABadCommandLine) {
    EXPECT_EQ(run("--engine quick"), 2);
    EXPECT_NE(err.find("quick not in {direct,fast}"), std::string::npos) << err;
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(out.find("--engine"), std::string::npos);
}

} // namespace
} // namespace velmora
