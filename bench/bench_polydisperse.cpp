// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of a spread of sizes and of the refinement, against the single
// sphere they build on: silver-like particles in water at the four default
// wavelengths.
//
// - BM_Monodisperse / BM_Polydisperse: one wavelength's model intensities of
//   one sphere and of the log-normal average (sigma 0.15, about 154 nodes of the
//   size quadrature's lattice), at median radii 30, 90 and 150 nm;
// - BM_RadiusWindow: what mode "R" spends on one time point without tables,
//   11 candidate radii at four wavelengths;
// - BM_RefineTimePoint: one refinement of radius, concentration and sigma
//   from a start 10 % off, on intensities the model itself made (its
//   `evaluations` counter is the residual evaluations it took);
// - BM_SpreadTable: the fast engine's table of averages over the window's
//   default radius grid (20-200 nm, 200 steps) for sigma 0, 0.03, ..., 0.3
//   (its `spheres` counter: the spheres it evaluated); argument 0 on the
//   calling thread alone, whose CPU time is then all the work, 1 with a
//   worker per processor;
// - BM_RadiusFitMonodisperse / BM_RadiusFitSigmaFree: a fit of mode R's
//   shape on a 1000-point measurement of growing particles (sigma 0.15):
//   the table, then at each time point the window of 11 radii scored with
//   one sigma (0) or eleven, the window moved to the winner; arguments as
//   above. Their ratio is what freeing sigma costs the fast engine's radius
//   search;
// - BM_FitModeR: the whole run of mode R with the fast engine (runFit: the
//   measurement read, the fit, the results stage) on that measurement,
//   silver-like particles in water, sigma fixed at 0 (argument 0) or
//   searched from 0 to 0.3 (argument 1).
#include "QuietView.h"
#include "fit/Match.h"
#include "fit/Refinement.h"
#include "fit/RefinementResiduals.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"
#include "fit/SizeDistribution.h"
#include "fit/fast/SpreadTable.h"
#include "run/FitRun.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <unistd.h>
#include <vector>

namespace {

using namespace velmora;

constexpr Particle kSilverInWater{
    .wp = 9.0, .gam = 0.4, .w0 = kDrudeResonance, .epsInf = 4.0, .mediumIndex = 1.33};
constexpr std::array<double, kWavelengths> kLambdas = {457.9, 514.5, 568.2, 647.1};
constexpr double kSigma = 0.15;

void BM_Monodisperse(benchmark::State& state) {
    const double radius = static_cast<double>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(particleIntensities(kSilverInWater, kLambdas[0], radius));
    }
}
BENCHMARK(BM_Monodisperse)->Arg(30)->Arg(90)->Arg(150);

void BM_Polydisperse(benchmark::State& state) {
    const double radius = static_cast<double>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            averagedIntensities(kSilverInWater, kLambdas[0], {radius, kSigma}));
    }
}
BENCHMARK(BM_Polydisperse)->Arg(30)->Arg(90)->Arg(150);

void BM_RadiusWindow(benchmark::State& state) {
    const double radius = static_cast<double>(state.range(0));
    Measured measured;
    for (int k = 0; k < kWavelengths; ++k) {
        measured.iv[k] = measured.ih[k] = 1.0;
    }
    for (auto _ : state) {
        for (int j = 0; j <= 10; ++j) {
            std::array<ModelValue, kWavelengths> models{};
            for (int k = 0; k < kWavelengths; ++k) {
                models[k] = particleIntensities(kSilverInWater, kLambdas[k], radius + j);
            }
            benchmark::DoNotOptimize(MatchIntensities(measured, models));
        }
    }
}
BENCHMARK(BM_RadiusWindow)->Arg(30)->Arg(90)->Arg(150);

void BM_RefineTimePoint(benchmark::State& state) {
    const double radius = static_cast<double>(state.range(0));
    TimePointModel model{{},
                         kLambdas,
                         kSilverInWater,
                         {radius, kSigma},
                         1000.0,
                         {FreeValue::Radius, FreeValue::Concentration, FreeValue::Sigma}};
    const std::array<ModelValue, kWavelengths> truth = modelValues(model);
    for (int k = 0; k < kWavelengths; ++k) {
        model.measured.iv[k] = 1000.0 * truth[k].iv;
        model.measured.ih[k] = 1000.0 * truth[k].ih;
    }
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<FreeParameter> free = {{0.9 * radius, 20.0, 200.0, 180.0},
                                             {1100.0, 0.0, infinity, 1100.0},
                                             {0.1, 0.0, 0.3, 0.3, true}};
    const ResidualFunction residuals = intensityMeasure(model);
    int evaluations = 0;
    for (auto _ : state) {
        const Refinement fit = refine(residuals, kIntensityResiduals, free);
        evaluations = fit.evaluations;
        benchmark::DoNotOptimize(fit.values.data());
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_RefineTimePoint)->Arg(30)->Arg(90)->Arg(150)->Unit(benchmark::kMillisecond);

// The window's default radius grid and the sigmas of a search from 0 to 0.3.
constexpr double kRmin = 20.0;
constexpr double kRmax = 200.0;
constexpr int kSteps = 200;
constexpr int kSigmas = 11;
constexpr int kTimePoints = 1000;

const GridTable& defaultRadii() {
    static const GridTable radii(kRmin, gridStep(kRmin, kRmax, kSteps), 0, kSteps);
    return radii;
}

std::vector<double> searchedSigmas() {
    std::vector<double> sigmas;
    for (int s = 0; s < kSigmas; ++s) {
        sigmas.push_back(gridValue(0.0, s, gridStep(0.0, 0.3, kSigmas - 1)));
    }
    return sigmas;
}

// The calling thread alone (state.range(0) == 0: the CPU time is all the
// work, whatever else the machine runs) or with a worker per processor.
WorkerPool& pool(const benchmark::State& state) {
    static WorkerPool alone(0);
    static WorkerPool everyProcessor;
    return state.range(0) == 0 ? alone : everyProcessor;
}

void BM_SpreadTable(benchmark::State& state) {
    const std::vector<double> sigmas = searchedSigmas();
    long long spheres = 0;
    for (auto _ : state) {
        const SpreadTable table(kSilverInWater, kLambdas, defaultRadii(), 0, kSteps, sigmas,
                                pool(state));
        spheres = table.sphereCount();
    }
    state.counters["spheres"] = static_cast<double>(spheres);
}
BENCHMARK(BM_SpreadTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Particles whose median grows from 30 to 150 nm with sigma 0.15, at grid
// radii, as the table has them.
std::vector<Measured> growingParticles(WorkerPool& workers) {
    const std::vector<double> sigma = {0.15};
    const SpreadTable truth(kSilverInWater, kLambdas, defaultRadii(), 0, kSteps, sigma, workers);
    std::vector<Measured> measured(kTimePoints);
    for (int t = 0; t < kTimePoints; ++t) {
        const double median = 30.0 + 120.0 * t / (kTimePoints - 1);
        const int j = static_cast<int>((median - kRmin) / gridStep(kRmin, kRmax, kSteps));
        for (int k = 0; k < kWavelengths; ++k) {
            measured[t].iv[k] = 1000.0 * truth.at(j, 0, k).iv;
            measured[t].ih[k] = 1000.0 * truth.at(j, 0, k).ih;
        }
    }
    return measured;
}

// Mode R's search over the table: the window of each time point scored in
// one batch per sigma, as the fast engine scores, then the first strictly
// lowest non-agreement, radius by radius and sigma by sigma; the window
// moved to the winner.
double radiusFit(const std::vector<double>& sigmas, WorkerPool& workers) {
    static const std::vector<Measured> measured = growingParticles(workers);
    const SpreadTable table(kSilverInWater, kLambdas, defaultRadii(), 0, kSteps, sigmas, workers);
    constexpr int width = kRadiusFitWindow.width;
    const std::size_t candidates = (width + 1) * sigmas.size();
    std::vector<double> mean(candidates);
    std::vector<double> vx(candidates);
    std::vector<FpFault> fault(candidates);
    SearchWindow window{kRadiusFitWindow.first, width};
    double sumOfRadii = 0.0;
    for (const Measured& point : measured) {
        const int count = window.size();
        for (std::size_t s = 0; s < sigmas.size(); ++s) {
            const std::size_t row = s * (width + 1);
            matchCandidates(point, table.columns(window.lo, static_cast<int>(s)), count,
                            {&mean[row], &vx[row], &fault[row]});
        }
        double best = 100.0;
        int accepted = window.lo;
        for (int c = 0; c < count; ++c) {
            for (std::size_t s = 0; s < sigmas.size(); ++s) {
                const std::size_t e = s * (width + 1) + c;
                if (fault[e] == FpFault::None && vx[e] < best) {
                    best = vx[e];
                    accepted = window.lo + c;
                }
            }
        }
        window.moveTo(accepted, width, kSteps);
        sumOfRadii += defaultRadii().at(accepted);
    }
    return sumOfRadii;
}

void BM_RadiusFitMonodisperse(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(radiusFit({0.0}, pool(state)));
    }
}
BENCHMARK(BM_RadiusFitMonodisperse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RadiusFitSigmaFree(benchmark::State& state) {
    const std::vector<double> sigmas = searchedSigmas();
    for (auto _ : state) {
        benchmark::DoNotOptimize(radiusFit(sigmas, pool(state)));
    }
}
BENCHMARK(BM_RadiusFitSigmaFree)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The growing particles' measurement as a measurement file (time, then V
// and H of each wavelength, then the median), removed at exit.
class GrowingParticlesFile {
public:
    GrowingParticlesFile()
        : path_(std::filesystem::temp_directory_path() /
                ("velmora-growing-" + std::to_string(getpid()) + ".txt")) {
        WorkerPool workers(0);
        const std::vector<Measured> measured = growingParticles(workers);
        std::FILE* out = std::fopen(path_.c_str(), "w");
        for (std::size_t t = 0; t < measured.size(); ++t) {
            std::fprintf(out, "%zu.0", t);
            for (int k = 0; k < kWavelengths; ++k) {
                std::fprintf(out, "\t%.9e\t%.9e", measured[t].iv[k], measured[t].ih[k]);
            }
            std::fprintf(out, "\t%.3f\n", 30.0 + 120.0 * t / (kTimePoints - 1));
        }
        std::fclose(out);
    }
    ~GrowingParticlesFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void BM_FitModeR(benchmark::State& state) {
    static const GrowingParticlesFile file;
    FitSettings settings;
    settings.mode = FitMode::R;
    settings.model = Dielectric::Drude;
    settings.plasmaEnergy = kSilverInWater.wp;
    settings.damping = kSilverInWater.gam;
    settings.mediumIndex = kSilverInWater.mediumIndex;
    settings.epsInf = kSilverInWater.epsInf;
    settings.sigma = state.range(0) == 0 ? Range{0.0, 0.0} : Range{0.0, 0.3};
    QuietView view;
    for (auto _ : state) {
        const FitResult result = runFit(settings, file.path(), view, EngineKind::Fast);
        benchmark::DoNotOptimize(result.Rfit.data());
    }
}
BENCHMARK(BM_FitModeR)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
