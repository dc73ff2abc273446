// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the coated-sphere and near-field observables: one CoatScatMatrix
// call (core at half the outer radius) and one NearFields call (field point
// at 1.5 sphere radii), at outer size parameters 3 and 30, for a dielectric
// and a gold-like shell or sphere.
#include "quellis.h"

#include <benchmark/benchmark.h>

namespace {

constexpr TComplex kGlass{1.5, 0.01};
constexpr TComplex kGold{0.2, 3.0};
constexpr TComplex kWater{1.33, 0.0};
constexpr double kAngle = 2.0933333333333333;

void CoatScatMatrixBench(benchmark::State& state, TComplex shell) {
    const double size = static_cast<double>(state.range(0));
    const TComplex x{size / 2, 0.0}, y{size, 0.0};
    TComplex s11, s12, s33, s34;
    for (auto _ : state) {
        CoatScatMatrix(&x, &y, &kGlass, &shell, kAngle, &s11, &s12, &s33, &s34);
        benchmark::DoNotOptimize(s11);
        benchmark::DoNotOptimize(s34);
    }
}

void NearFieldsBench(benchmark::State& state, TComplex m) {
    const double size = static_cast<double>(state.range(0));
    const TComplex x{size, 0.0}, rho{1.5 * size, 0.0};
    TComplex ePhi, eTheta, eR, hPhi, hTheta, hR;
    for (auto _ : state) {
        NearFields(&x, &rho, &m, kAngle, &ePhi, &eTheta, &eR, &hPhi, &hTheta, &hR);
        benchmark::DoNotOptimize(ePhi);
        benchmark::DoNotOptimize(hR);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("y")->Arg(3)->Arg(30);
}

} // namespace

BENCHMARK_CAPTURE(CoatScatMatrixBench, water_shell, kWater)->Apply(Sizes);
BENCHMARK_CAPTURE(CoatScatMatrixBench, gold_shell, kGold)->Apply(Sizes);
BENCHMARK_CAPTURE(NearFieldsBench, glass, kGlass)->Apply(Sizes);
BENCHMARK_CAPTURE(NearFieldsBench, gold, kGold)->Apply(Sizes);
