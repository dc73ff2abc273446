// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of a spread of sizes and of the refinement, against the single
// sphere they build on: silver-like particles in water at the four default
// wavelengths.
//
// - BM_Monodisperse / BM_Polydisperse: one wavelength's model intensities of
//   one sphere and of the log-normal average (sigma 0.15, the size
//   quadrature's kSizeNodes spheres), at median radii 30, 90 and 150 nm;
// - BM_RadiusWindow: what mode "R" spends on one time point without tables,
//   11 candidate radii at four wavelengths;
// - BM_RefineTimePoint: one refinement of radius, concentration and sigma
//   from a start 10 % off, on intensities the model itself made (its
//   `evaluations` counter is the residual evaluations it took).
#include "fit/Match.h"
#include "fit/Refinement.h"
#include "fit/RefinementResiduals.h"
#include "fit/SizeDistribution.h"

#include <benchmark/benchmark.h>

#include <array>
#include <limits>
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

} // namespace
