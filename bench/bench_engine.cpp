// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting engines side by side: every benchmark runs the direct engine
// and the fast engine on the same fit and reports both, with their ratio.
//
// The measurement is the demo generator's (make-demo-data) with 1000 time
// points, written to a temporary directory; the fields are the window's
// defaults except where a benchmark's name says otherwise. The fast engine
// fits all 1000 time points (the benchmark's own time and fast_s). The
// direct engine spends nearly all its time on the time points, each costing
// about the same (a window of the same width over the same grids), so it is
// timed once on the first `direct_points` time points and scaled by
// 1000 / direct_points (direct_s); mode R it fits whole. Before timing, both
// engines fit those first time points and must agree on every table.
// fast_scalar_s, fast_avx2_s and fast_avx512_s time one more fast run with
// the candidates scored at that lane width (the widths the processor has);
// the benchmark's own time uses the widest. scripts/profile-steps gives the
// share of each step of a run.
// peak_rss_MB is the process's peak resident memory after the fast runs,
// an upper bound on the fast engine's model tables.
#include "GeneratedMeasurement.h"
#include "QuietView.h"
#include "fit/fast/LaneWidth.h"
#include "run/FitRun.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr int kPoints = 1000;

// The demo measurement with kPoints time points, and its first lines, in a
// temporary directory removed at exit.
class DemoFiles {
public:
    std::string full() const { return measurement_.path(); }

    // A file of the first `lines` lines.
    std::string head(int lines) const {
        const std::string path =
            (measurement_.dir() / ("head" + std::to_string(lines) + ".txt")).string();
        std::ifstream in(full(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        std::size_t end = 0;
        for (int i = 0; i < lines; ++i) {
            end = text.find('\n', end) + 1;
        }
        std::ofstream(path, std::ios::binary) << text.substr(0, end);
        return path;
    }

private:
    GeneratedMeasurement measurement_{"velmora-bench", kPoints};
};

const DemoFiles& demoFiles() {
    static const DemoFiles files;
    return files;
}

struct FieldText {
    Field field;
    const char* text;
};

struct FitCase {
    FitMode mode;
    int directPoints;              // time points the direct engine is timed on
    std::vector<FieldText> fields; // changed from the defaults
};

FieldInputs inputsFor(const FitCase& c, const std::string& file) {
    FieldInputs inputs = FieldInputs::defaults();
    inputs.fitMode = static_cast<int>(c.mode);
    inputs.dielectric = static_cast<int>(Dielectric::Drude);
    for (const FieldText& f : c.fields) {
        inputs.text(f.field) = f.text;
    }
    inputs.dataFile = file;
    return inputs;
}

struct TimedRun {
    FitResult result;
    double seconds;
};

TimedRun timedRun(const FieldInputs& inputs, EngineKind engine) {
    QuietView view;
    const auto start = std::chrono::steady_clock::now();
    FitResult result = runFit(inputs, view, engine);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {std::move(result), elapsed.count()};
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void EngineBench(benchmark::State& state, FitCase c) {
    const FieldInputs head = inputsFor(c, demoFiles().head(c.directPoints));
    const TimedRun direct = timedRun(head, EngineKind::Direct);
    const TimedRun fastHead = timedRun(head, EngineKind::Fast);
    if (direct.result.ResultTable != fastHead.result.ResultTable ||
        direct.result.ResonanceTable != fastHead.result.ResonanceTable) {
        state.SkipWithError("the engines disagree");
        return;
    }
    const double directSeconds = direct.seconds * kPoints / c.directPoints;
    const FieldInputs full = inputsFor(c, demoFiles().full());
    double fastSeconds = 0.0;
    int runs = 0;
    for (auto _ : state) {
        fastSeconds += timedRun(full, EngineKind::Fast).seconds;
        ++runs;
    }
    fastSeconds /= runs;
    // One more fast run at each lane width, the scalar fallback among them.
    for (LaneWidth width : availableLaneWidths()) {
        forceLaneWidth(width);
        state.counters[std::string("fast_") + laneWidthName(width) + "_s"] =
            timedRun(full, EngineKind::Fast).seconds;
    }
    forceLaneWidth(availableLaneWidths().back());
    state.counters["direct_s"] = directSeconds;
    state.counters["direct_points"] = c.directPoints;
    state.counters["fast_s"] = fastSeconds;
    state.counters["speedup"] = directSeconds / fastSeconds;
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

} // namespace

BENCHMARK_CAPTURE(EngineBench, R_default, FitCase{FitMode::R, kPoints, {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(EngineBench, GR1_default, FitCase{FitMode::GR1, 4, {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(EngineBench, GR1_wp_4_5_to_7_0,
                  FitCase{FitMode::GR1, 4, {{Field::WpMin, "4,5"}, {Field::WpMax, "7,0"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
// The wide cases: a plasma-energy range, a damping range and the widest
// fields the window offers a user who leaves the radius range near its
// default.
BENCHMARK_CAPTURE(EngineBench, GR1_gam_0_to_5,
                  FitCase{FitMode::GR1, 4, {{Field::GamMin, "0"}, {Field::GamMax, "5"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(EngineBench, GR1_N1000_Rmax400,
                  FitCase{FitMode::GR1, 4, {{Field::Rmax, "400"}, {Field::N, "1000"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(EngineBench, R_N1000_Rmax400,
                  FitCase{FitMode::R, kPoints, {{Field::Rmax, "400"}, {Field::N, "1000"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(EngineBench, GR2_N1000_Rmax400,
                  FitCase{FitMode::GR2, 100, {{Field::Rmax, "400"}, {Field::N, "1000"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(EngineBench, GR2_default, FitCase{FitMode::GR2, 100, {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
// The largest model table: N = 1000 over 1..1000 nm, 21 distinct plasma
// energies and 101 distinct dampings.
BENCHMARK_CAPTURE(EngineBench, GR1_N1000_widest,
                  FitCase{FitMode::GR1,
                          2,
                          {{Field::Rmin, "1"},
                           {Field::Rmax, "1000"},
                           {Field::N, "1000"},
                           {Field::WpMin, "1"},
                           {Field::WpMax, "15"},
                           {Field::GamMin, "0"},
                           {Field::GamMax, "10"}}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
