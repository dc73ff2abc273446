// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine against the direct one, at every lane width the fast
// engine scores with: on the demo measurement, on many small random
// measurements and field settings, on fields that make a run fail and with
// the stop question answered both ways, the two must leave the same arrays
// (bit for bit), the same tables, the same calls to the view and the same
// message.
#include "TestSupport.h"
#include "fit/SearchGeometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <tuple>

namespace velmora {
namespace {

// How a run ended and everything it left.
struct Outcome {
    std::string end; // "completed", "stopped", or the message of the failure
    FitResult result;
    std::vector<std::string> calls;
    int polls = 0;
};

// The run of a recording view that clears the stop flag at its poll
// clearAtPoll and answers the question with yes.
template <typename Run> Outcome runRecorded(int clearAtPoll, bool yes, Run run) {
    test::RecordingView view;
    view.clearAtPoll = clearAtPoll;
    view.answerYes = yes;
    Outcome outcome;
    try {
        outcome.result = run(view);
        outcome.end = outcome.result.completed ? "completed" : "stopped";
    } catch (const RunError& e) {
        outcome.end = e.what();
    }
    outcome.calls = view.calls();
    outcome.polls = view.polls;
    return outcome;
}

Outcome runWith(const FieldInputs& inputs, EngineKind engine, int clearAtPoll, bool yes) {
    return runRecorded(clearAtPoll, yes,
                       [&](RunView& view) { return runFit(inputs, view, engine); });
}

std::vector<std::uint64_t> bitsOf(const std::vector<double>& values) {
    std::vector<std::uint64_t> bits;
    for (double v : values) {
        bits.push_back(std::bit_cast<std::uint64_t>(v));
    }
    return bits;
}

std::vector<std::uint64_t> bitsOf(const std::vector<std::array<double, 8>>& rows) {
    std::vector<std::uint64_t> bits;
    for (const auto& row : rows) {
        for (double v : row) {
            bits.push_back(std::bit_cast<std::uint64_t>(v));
        }
    }
    return bits;
}

void expectIdentical(const Outcome& direct, const Outcome& fast) {
    EXPECT_EQ(fast.end, direct.end);
    EXPECT_EQ(fast.polls, direct.polls);
    const FitResult& d = direct.result;
    const FitResult& f = fast.result;
    EXPECT_EQ(f.completed, d.completed);
    EXPECT_EQ(f.timePoints, d.timePoints);
    EXPECT_EQ(bitsOf(f.T), bitsOf(d.T));
    EXPECT_EQ(bitsOf(f.Rfit), bitsOf(d.Rfit));
    EXPECT_EQ(bitsOf(f.Conc), bitsOf(d.Conc));
    EXPECT_EQ(bitsOf(f.VxFit), bitsOf(d.VxFit));
    EXPECT_EQ(bitsOf(f.GamFit), bitsOf(d.GamFit));
    EXPECT_EQ(bitsOf(f.WpFit), bitsOf(d.WpFit));
    EXPECT_EQ(bitsOf(f.GamSpread), bitsOf(d.GamSpread));
    EXPECT_EQ(bitsOf(f.SigmaFit), bitsOf(d.SigmaFit));
    ASSERT_EQ(f.estimates.size(), d.estimates.size());
    for (std::size_t i = 0; i < d.estimates.size(); ++i) {
        const TimePointEstimates& a = d.estimates[i];
        const TimePointEstimates& b = f.estimates[i];
        const auto numbers = [](const TimePointEstimates& e) {
            std::vector<double> values{e.vx, e.chi2Reduced};
            for (const Estimate& one :
                 {e.radius, e.sigma, e.plasmaEnergy, e.damping, e.concentration}) {
                values.insert(values.end(), {one.value, one.standardError});
            }
            return bitsOf(values);
        };
        EXPECT_EQ(numbers(b), numbers(a));
        EXPECT_EQ(std::tuple(a.refined, a.converged, a.insideRanges),
                  std::tuple(b.refined, b.converged, b.insideRanges));
    }
    EXPECT_EQ(bitsOf(f.Model), bitsOf(d.Model));
    EXPECT_EQ(bitsOf(f.Norm), bitsOf(d.Norm));
    EXPECT_EQ(f.ResultTable, d.ResultTable);
    EXPECT_EQ(f.ResonanceTable, d.ResonanceTable);
    EXPECT_EQ(f.vPeakTable, d.vPeakTable);
    EXPECT_EQ(f.hPeakTable, d.hPeakTable);
    ASSERT_EQ(fast.calls.size(), direct.calls.size());
    for (std::size_t i = 0; i < direct.calls.size(); ++i) {
        if (fast.calls[i] != direct.calls[i]) {
            ADD_FAILURE() << "view call " << i
                          << " differs:\n  direct: " << direct.calls[i].substr(0, 300)
                          << "\n  fast:   " << fast.calls[i].substr(0, 300);
            return;
        }
    }
}

// Runs both engines, requires identical outcomes and returns the direct one.
Outcome expectSameOutcome(const FieldInputs& inputs, int clearAtPoll = 0, bool yes = false) {
    Outcome direct = runWith(inputs, EngineKind::Direct, clearAtPoll, yes);
    const Outcome fast = runWith(inputs, EngineKind::Fast, clearAtPoll, yes);
    expectIdentical(direct, fast);
    return direct;
}

std::string shortest(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The first `lines` lines of a measurement (the demo's by default), written
// to `path`.
void writeDemoHead(const std::string& path, int lines,
                   const std::string& source = VELMORA_DEMO_FILE) {
    const std::string demo = test::readBytes(source);
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) {
        end = demo.find('\n', end) + 1;
    }
    test::writeText(path, demo.substr(0, end));
}

// Every test runs once for each lane width the fast engine can score with.
class EngineDifferentialTest : public ::testing::TestWithParam<LaneWidth> {
protected:
    std::string file() const { return dir.file("d.txt"); }
    test::ScratchDir dir;
    test::LaneWidthScope width{GetParam()};
};

TEST_P(EngineDifferentialTest, DemoMeasurementInEveryMode) {
    const Outcome r = expectSameOutcome(test::inputsFor(FitMode::R, VELMORA_DEMO_FILE));
    EXPECT_EQ(r.end, "completed");
    EXPECT_EQ(r.result.timePoints, 500);

    writeDemoHead(file(), 40);
    const Outcome gr2 = expectSameOutcome(test::inputsFor(FitMode::GR2, file()));
    EXPECT_EQ(gr2.end, "completed");
    EXPECT_GT(gr2.result.GamFit[40], 0.0);

    writeDemoHead(file(), 2);
    FieldInputs gr1 = test::inputsFor(FitMode::GR1, file());
    EXPECT_EQ(expectSameOutcome(gr1).end, "completed");
    test::setField(gr1, Field::WpMin, "4,5");
    test::setField(gr1, Field::WpMax, "7,0");
    const Outcome range = expectSameOutcome(gr1);
    EXPECT_EQ(range.end, "completed");
    EXPECT_NE(range.result.WpFit[1], 0.0);

    for (FitMode none : {FitMode::None, FitMode::Blank}) {
        EXPECT_EQ(expectSameOutcome(test::inputsFor(none, VELMORA_DEMO_FILE)).end, "completed");
    }
}

// Particles in water with eps_inf 4 (the synthetic silver measurement), in
// every mode, with a searched or a fixed spread of sizes and refined: both
// engines evaluate these models value by value through runModel, and the
// refinement starts from the same winners.
TEST_P(EngineDifferentialTest, ParticleInMediumWithSpreadAndRefinementAlike) {
    if (GetParam() != LaneWidth::Scalar) {
        GTEST_SKIP() << "these models take no vector lanes";
    }
    writeDemoHead(file(), 4, VELMORA_SYNTHETIC_DIR "/LognormalSilverInWater.txt");
    const auto settingsOf = [](FitMode mode, Range sigma) {
        FitSettings s;
        s.mode = mode;
        s.model = Dielectric::Drude;
        s.radius = {20.0, 200.0, 90};
        s.plasmaEnergy = s.polarizationPlasmaEnergy = 9.0;
        s.jointPlasmaEnergy = {8.5, 9.5};
        s.damping = 0.4;
        s.mediumIndex = 1.33;
        s.epsInf = 4.0;
        s.sigma = sigma;
        s.refine = true;
        return s;
    };
    const FitSettings cases[] = {
        settingsOf(FitMode::R, {0.0, 0.3}),   settingsOf(FitMode::GR1, {0.0, 0.0}),
        settingsOf(FitMode::GR2, {0.0, 0.0}), settingsOf(FitMode::GR3, {0.15, 0.15}),
        settingsOf(FitMode::GR3, {0.0, 0.0}),
    };
    for (const FitSettings& settings : cases) {
        SCOPED_TRACE("mode " + std::to_string(static_cast<int>(settings.mode)));
        const auto run = [&](EngineKind engine) {
            return runRecorded(
                0, false, [&](RunView& view) { return runFit(settings, file(), view, engine); });
        };
        const Outcome direct = run(EngineKind::Direct);
        expectIdentical(direct, run(EngineKind::Fast));
        ASSERT_EQ(direct.end, "completed");
        const TimePointEstimates& last = direct.result.estimates.back();
        EXPECT_TRUE(last.refined && last.converged);
        EXPECT_GT(last.radius.standardError, 0.0);
    }
}

// A wavelength whose photon energy is exactly the Lorents resonance 2.54 eV.
double resonanceWavelength() {
    double lambda = 1.986447461038579e-16 / (1.60217733e-19 * kLorentsResonance);
    for (int step = 0; step < 200 && photonEnergy(lambda) != kLorentsResonance; ++step) {
        lambda = std::nextafter(lambda, photonEnergy(lambda) > kLorentsResonance ? 1e9 : 0.0);
    }
    return lambda;
}

// Fields of one mode and dielectric function, and how a run of them ends.
struct FieldCase {
    FitMode mode;
    std::vector<std::pair<Field, std::string>> fields;
    std::string end;
    int dielectric = static_cast<int>(Dielectric::Drude);
};

// Runs the case's fields (after `common`) on the measurement at `path` with
// both engines: identical outcomes, ending as the case says.
void expectCaseAlike(const FieldCase& c, const std::string& path,
                     const std::vector<std::pair<Field, std::string>>& common = {}) {
    FieldInputs inputs = test::inputsFor(c.mode, path);
    inputs.dielectric = c.dielectric;
    std::string description = "mode " + std::to_string(static_cast<int>(c.mode));
    for (const auto& [field, text] : common) {
        test::setField(inputs, field, text);
    }
    for (const auto& [field, text] : c.fields) {
        test::setField(inputs, field, text);
        description += " Edit" + std::to_string(static_cast<int>(field)) + "=" + text;
    }
    SCOPED_TRACE(description);
    EXPECT_EQ(expectSameOutcome(inputs).end, c.end);
}

TEST_P(EngineDifferentialTest, FailingFieldsFailAlikeAtTheSamePoint) {
    test::writeMeasurement(file(), {{0.0, 30.0, 50.0}, {1.0, 33.0, 50.0}});
    const double resonance = resonanceWavelength();
    ASSERT_EQ(photonEnergy(resonance), kLorentsResonance);
    const std::string divByZero = "Floating point division by zero";
    const std::string invalid = "Invalid floating point operation";
    const std::string overflow = "Floating point overflow";
    const std::vector<FieldCase> failures = {
        {FitMode::R, {{Field::Rmax, "abc"}}, "'abc' is not a valid floating point value"},
        {FitMode::GR2, {{Field::PolGamMin, "x"}}, "'x' is not a valid floating point value"},
        {FitMode::GR1,
         {{Field::N, "0"}},
         "N must be at least 20 and at most 1000 radius steps in mode G, R (I)"},
        {FitMode::GR2,
         {{Field::N, "0"}, {Field::Rmax, "20"}},
         "Rmax must be a radius above the smallest radius"},
        {FitMode::R, {{Field::Lambda3, "1e-300"}}, overflow},
        {FitMode::GR1, {{Field::Lambda3, "1e-300"}}, overflow},
        {FitMode::GR2, {{Field::Lambda3, "1e-300"}}, overflow},
        {FitMode::R,
         {{Field::Lambda2, shortest(resonance)}, {Field::Gam, "0"}},
         invalid,
         static_cast<int>(Dielectric::Lorents)},
        {FitMode::GR1,
         {{Field::Lambda4, shortest(resonance)}, {Field::GamMin, "-1"}, {Field::GamMax, "1"}},
         invalid,
         static_cast<int>(Dielectric::Lorents)},
        {FitMode::GR2,
         {{Field::Lambda3, shortest(resonance)}, {Field::PolGamMin, "-1"}, {Field::PolGamMax, "1"}},
         invalid,
         static_cast<int>(Dielectric::Lorents)},
        {FitMode::GR1,
         {},
         "Choose a dielectric function (Drude or Lorents) before fitting",
         static_cast<int>(Dielectric::None)},
    };
    for (const FieldCase& failure : failures) {
        expectCaseAlike(failure, file());
    }
}

// Model intensities of a sphere growing through the radius range, scaled by
// a concentration with 2 % noise; now and then a line of zeros, negative
// values, H equal to V or fields left out.
void writeRandomMeasurement(std::mt19937_64& rng, const std::string& path, int points, double rmin,
                            double rmax) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double lambda[] = {457.9, 514.5, 568.2, 647.1};
    const double gam = 0.3 + 1.5 * unit(rng);
    const double wp = 4.5 + 2.0 * unit(rng);
    const double w0 = unit(rng) < 0.5 ? kDrudeResonance : kLorentsResonance;
    double radius = rmin + (rmax - rmin) * 0.3 * unit(rng);
    std::string text;
    for (int t = 0; t < points; ++t) {
        radius += (rmax - rmin) * 0.03 * unit(rng);
        const double concentration = 10.0 + 1000.0 * unit(rng);
        const double kind = unit(rng);
        text += shortest(2.0 * t);
        const int fields = kind < 0.05 ? 1 + static_cast<int>(7 * unit(rng)) : 8;
        for (int c = 0; c < fields; ++c) {
            const ModelValue m = ModelIntensities({lambda[c / 2], radius, gam, wp, w0});
            double value = concentration * (c % 2 == 0 ? m.iv : m.ih) * (1.0 + 0.02 * unit(rng));
            if (kind > 0.9) {
                value = 0.0;
            } else if (kind > 0.85) {
                value = -value;
            } else if (kind > 0.8 && c % 2 == 1) {
                value = concentration * m.iv;
            }
            text += '\t' + shortest(value);
        }
        text += '\n';
    }
    test::writeText(path, text);
}

// A decimal field text, with the comma or the full stop.
std::string fieldText(std::mt19937_64& rng, double value) {
    std::string text = shortest(std::round(value * 1000.0) / 1000.0);
    if (rng() % 2 == 0) {
        for (char& c : text) {
            if (c == '.') {
                c = ',';
            }
        }
    }
    return text;
}

TEST_P(EngineDifferentialTest, RandomMeasurementsAndFields) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int completed = 0;
    int failed = 0;
    for (int c = 0; c < 70; ++c) {
        const double modeDraw = unit(rng);
        const FitMode mode = modeDraw < 0.35   ? FitMode::R
                             : modeDraw < 0.55 ? FitMode::GR1
                             : modeDraw < 0.9  ? FitMode::GR2
                             : modeDraw < 0.95 ? FitMode::Blank
                                               : FitMode::None;
        FieldInputs inputs = test::inputsFor(mode, file());
        const double modelDraw = unit(rng);
        inputs.dielectric = static_cast<int>(modelDraw < 0.47   ? Dielectric::Drude
                                             : modelDraw < 0.94 ? Dielectric::Lorents
                                                                : Dielectric::None);
        const int n =
            unit(rng) < 0.05 ? -3 : 1 + firstReach(mode) + static_cast<int>(30 * unit(rng));
        const double rmin = unit(rng) < 0.05 ? 0.0 : 10.0 + 50.0 * unit(rng);
        const double rmax = unit(rng) < 0.05 ? rmin : rmin + 5.0 + 150.0 * unit(rng);
        const int points = mode == FitMode::GR1 ? 1 + static_cast<int>(2 * unit(rng))
                                                : static_cast<int>(45 * unit(rng));
        writeRandomMeasurement(rng, file(), points, rmin, std::max(rmax, rmin + 5.0));
        test::setField(inputs, Field::Rmin, fieldText(rng, rmin));
        test::setField(inputs, Field::Rmax, fieldText(rng, rmax));
        test::setField(inputs, Field::N, std::to_string(n));
        test::setField(inputs, Field::Wp, fieldText(rng, 3.0 + 5.0 * unit(rng)));
        test::setField(inputs, Field::Gam, fieldText(rng, 2.0 * unit(rng)));
        const double wpMin = 4.0 + 2.0 * unit(rng);
        test::setField(inputs, Field::WpMin, fieldText(rng, wpMin));
        test::setField(inputs, Field::WpMax,
                       fieldText(rng, wpMin + (unit(rng) < 0.4 ? 0.0 : 2.0 * unit(rng))));
        const double gamMin = unit(rng);
        test::setField(inputs, Field::GamMin, fieldText(rng, gamMin));
        test::setField(inputs, Field::GamMax, fieldText(rng, gamMin + 2.0 * unit(rng)));
        test::setField(inputs, Field::PolWp, fieldText(rng, 4.0 + 3.0 * unit(rng)));
        const double g0 = unit(rng);
        test::setField(inputs, Field::PolGamMin, fieldText(rng, g0));
        test::setField(inputs, Field::PolGamMax, fieldText(rng, g0 + 2.0 * unit(rng)));
        SCOPED_TRACE("case " + std::to_string(c) + ": mode " +
                     std::to_string(static_cast<int>(mode)) + ", model " +
                     std::to_string(inputs.dielectric) + ", " + std::to_string(points) +
                     " points, N " + std::to_string(n) + ", R " + inputs.text(Field::Rmin) + ".." +
                     inputs.text(Field::Rmax));
        const Outcome outcome = expectSameOutcome(inputs);
        (outcome.end == "completed" ? completed : failed) += 1;
        if (HasFailure()) {
            return;
        }
    }
    // The cases reach both ends of a run.
    EXPECT_GT(completed, 30);
    EXPECT_GT(failed, 3);
}

// Wide plasma-energy and damping ranges, and fields whose models fault in
// the middle of a batch: a refractive index that faults for one damping
// (PowCom of 0 at the plasma frequency, 0/0 at the resonance), sizes whose
// series overflows or lies beyond the tables (the model is then not a
// number, and no candidate wins).
TEST_P(EngineDifferentialTest, WideRangesAndFaultingModelsAlike) {
    std::mt19937_64 rng(16);
    const double lambda = 514.5;
    const std::string plasmaFrequency = shortest(photonEnergy(lambda));
    const std::string resonance = shortest(resonanceWavelength());
    const std::string completed = "completed";
    const std::string divByZero = "Floating point division by zero";
    const std::string invalid = "Invalid floating point operation";
    const std::string overflow = "Floating point overflow";
    const std::vector<FieldCase> cases = {
        {FitMode::GR1,
         {{Field::WpMin, "0.5"}, {Field::WpMax, "12"}, {Field::GamMax, "8"}},
         completed},
        {FitMode::GR1,
         {{Field::WpMin, "4.5"}, {Field::WpMax, "7"}, {Field::GamMin, "0"}, {Field::GamMax, "5"}},
         completed,
         static_cast<int>(Dielectric::Lorents)},
        {FitMode::GR1,
         {{Field::Lambda2, shortest(lambda)},
          {Field::WpMin, plasmaFrequency},
          {Field::WpMax, plasmaFrequency},
          {Field::GamMin, "0"}},
         divByZero},
        {FitMode::GR2,
         {{Field::Lambda1, shortest(lambda)},
          {Field::Lambda2, shortest(lambda)},
          {Field::Lambda3, shortest(lambda)},
          {Field::Lambda4, shortest(lambda)},
          {Field::PolWp, plasmaFrequency},
          {Field::PolGamMin, "0"}},
         completed},
        {FitMode::GR1,
         {{Field::Lambda3, resonance}, {Field::GamMin, "0"}, {Field::GamMax, "3"}},
         invalid,
         static_cast<int>(Dielectric::Lorents)},
        {FitMode::GR1, {{Field::Rmin, "1e-290"}, {Field::Rmax, "2e-290"}}, overflow},
        {FitMode::GR2, {{Field::Rmin, "1e-290"}, {Field::Rmax, "2e-290"}}, overflow},
        {FitMode::GR1, {{Field::Rmin, "1e305"}, {Field::Rmax, "2e305"}}, completed},
        {FitMode::GR2, {{Field::Rmin, "1e305"}, {Field::Rmax, "2e305"}}, completed},
        {FitMode::R, {{Field::Rmin, "1e-290"}, {Field::Rmax, "2e-290"}}, overflow},
    };
    for (const FieldCase& c : cases) {
        writeRandomMeasurement(rng, file(), c.mode == FitMode::GR1 ? 2 : 12, 20.0, 80.0);
        expectCaseAlike(c, file(), {{Field::N, "30"}});
    }
}

// Every N, down to INT_MIN, ends alike in both engines: refused outside the
// mode's range, and at its ends the windows and tables fit the grid.
TEST_P(EngineDifferentialTest, ExtremeStepCountsAgree) {
    test::writeMeasurement(file(), {{0.0, 30.0, 50.0},
                                    {1.0, 33.0, 50.0},
                                    {2.0, 36.0, 50.0},
                                    {3.0, 39.0, 50.0},
                                    {4.0, 42.0, 50.0}});
    constexpr int lowest = std::numeric_limits<int>::min();
    for (int n : {lowest, lowest + 1, -1, 0, 1, 2, 10, 20, 1000, 1001}) {
        for (FitMode mode : {FitMode::R, FitMode::GR2}) {
            FieldInputs inputs = test::inputsFor(mode, file());
            test::setField(inputs, Field::Rmin, "20");
            test::setField(inputs, Field::Rmax, "60");
            test::setField(inputs, Field::N, std::to_string(n));
            SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + " N " +
                         std::to_string(n));
            const Outcome outcome = expectSameOutcome(inputs);
            if (n >= firstReach(mode) && n <= kMaxRadiusSteps) {
                EXPECT_EQ(outcome.end, "completed");
            } else {
                EXPECT_EQ(outcome.end.rfind("N must be at least ", 0), 0u) << outcome.end;
            }
        }
    }
}

TEST_P(EngineDifferentialTest, StopAnsweredNoOrYesAlike) {
    test::writeMeasurement(file(), {{0.0, 46.0, 20.0, 0.7}, {1.0, 49.0, 20.0, 0.7}});
    for (FitMode mode : {FitMode::GR1, FitMode::GR2}) {
        FieldInputs inputs = test::inputsFor(mode, file());
        test::setField(inputs, Field::Rmin, "40");
        test::setField(inputs, Field::Rmax, "60");
        test::setField(inputs, Field::N, "20");
        const Outcome plain = expectSameOutcome(inputs);
        ASSERT_EQ(plain.end, "completed");
        for (int poll : {1, 2, plain.polls / 3, plain.polls / 2 + 7, plain.polls}) {
            SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + " poll " +
                         std::to_string(poll));
            const Outcome no = expectSameOutcome(inputs, poll, false);
            EXPECT_EQ(no.end, "completed");
            EXPECT_EQ(bitsOf(no.result.Rfit), bitsOf(plain.result.Rfit));
            EXPECT_EQ(bitsOf(no.result.GamFit), bitsOf(plain.result.GamFit));
            EXPECT_EQ(no.result.ResultTable, plain.result.ResultTable);
            const Outcome yes = expectSameOutcome(inputs, poll, true);
            EXPECT_EQ(yes.end, "stopped");
            EXPECT_EQ(yes.polls, poll);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWidth, EngineDifferentialTest,
                         ::testing::ValuesIn(availableLaneWidths()),
                         [](const auto& info) { return std::string(laneWidthName(info.param)); });

} // namespace
} // namespace velmora
