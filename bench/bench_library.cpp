// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the homogeneous-sphere observables: one ScatMatrix call (what the
// fitting program pays per modelled intensity) and one CrossSection call,
// over size parameters 0.3 to 300 for a metallic and a dielectric sphere;
// and CrossSection of a huge index, whose cost must follow the orders of the
// series (x = 1000) rather than |m x| = 1e9.
#include "quellis.h"

#include <benchmark/benchmark.h>

namespace {

constexpr TComplex kMetal{0.4, 1.7};
constexpr TComplex kDielectric{1.5, 0.01};
constexpr double kFitAngle = 2.0933333333333333;

void ScatMatrixBench(benchmark::State& state, TComplex m) {
    const TComplex x{static_cast<double>(state.range(0)) / 10, 0.0};
    TComplex s11, s12, s33, s34;
    for (auto _ : state) {
        ScatMatrix(&x, &m, &s11, kFitAngle, &s12, &s33, &s34);
        benchmark::DoNotOptimize(s11);
        benchmark::DoNotOptimize(s12);
    }
}

void CrossSectionBench(benchmark::State& state, TComplex m) {
    const TComplex x{static_cast<double>(state.range(0)) / 10, 0.0};
    double qsca, qext, qback;
    for (auto _ : state) {
        CrossSection(&x, &m, &qsca, &qext, &qback);
        benchmark::DoNotOptimize(qsca);
        benchmark::DoNotOptimize(qext);
        benchmark::DoNotOptimize(qback);
    }
}

// The C loop that the Python package's array functions are measured
// against (bench/bench_python_loops.py): CrossSection over 100000 spheres of
// m = 1.5 + 0.1i with x evenly spaced from 0.1 to 20, one after another.
constexpr int kLoopElements = 100000;
constexpr double kLoopFirstSize = 0.1;
constexpr double kLoopLastSize = 20.0;

void CrossSectionLoop(benchmark::State& state) {
    const TComplex m{1.5, 0.1};
    double qsca, qext, qback;
    for (auto _ : state) {
        for (int i = 0; i < kLoopElements; ++i) {
            const TComplex x{
                kLoopFirstSize + (kLoopLastSize - kLoopFirstSize) * i / (kLoopElements - 1), 0.0};
            CrossSection(&x, &m, &qsca, &qext, &qback);
            benchmark::DoNotOptimize(qsca);
            benchmark::DoNotOptimize(qext);
            benchmark::DoNotOptimize(qback);
        }
    }
    state.SetItemsProcessed(state.iterations() * kLoopElements);
}

// Arguments are ten times the size parameter: x = 0.3, 3, 30, 300.
void SizeParameters(benchmark::internal::Benchmark* b) {
    b->ArgName("x10")->Arg(3)->Arg(30)->Arg(300)->Arg(3000);
}

} // namespace

BENCHMARK_CAPTURE(CrossSectionBench, hugeRealIndex, (TComplex{1e6, 0}))
    ->ArgName("x10")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CrossSectionBench, hugeAbsorbingIndex, (TComplex{1e6, 1e6}))
    ->ArgName("x10")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScatMatrixBench, metal, kMetal)->Apply(SizeParameters);
BENCHMARK_CAPTURE(ScatMatrixBench, dielectric, kDielectric)->Apply(SizeParameters);
BENCHMARK_CAPTURE(CrossSectionBench, metal, kMetal)->Apply(SizeParameters);
BENCHMARK_CAPTURE(CrossSectionBench, dielectric, kDielectric)->Apply(SizeParameters);
BENCHMARK(CrossSectionLoop)->Unit(benchmark::kMillisecond);
