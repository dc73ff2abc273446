// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/IntensityModel.h"

#include "DllUn/DllUn.h"
#include "ModelSteps.h"
#include "fast/lanes/SeriesLanes.h"
#include "quellis/series/PreparedSphereSize.h"

#include <cmath>
#include <limits>
#include <vector>

namespace velmora {

namespace {
using steps::EachStep;
using steps::intensitySteps;
constexpr double kScatteringAngle = steps::kDetectionAngle;

// The index steps of the sphere in vacuum: eps_inf = 1, n = 1.
template <typename Check>
RefractiveIndex indexSteps(double lambda, double gam, double wp, double w0, Check check) {
    return steps::particleIndexSteps({.wp = wp, .gam = gam, .w0 = w0}, lambda, check);
}

TComplex sizeParameter(double lambda, double radius) {
    return {steps::kVacuumSizeFactor * radius / lambda, 0.0};
}

// The steps of one evaluation, ending at the first step that faults.
template <typename Check> ModelValue evaluate(const ModelParams& params, Check check) {
    double lambda = params.lambda;
    double radius = params.radius;
    double gam = params.gam;
    double wp = params.wp;
    double w0 = params.w0;
    pinFp(lambda, radius, gam, wp, w0);

    const RefractiveIndex index = indexSteps(lambda, gam, wp, w0, check);
    if (index.fault != FpFault::None) {
        return {0.0, 0.0, index.fault};
    }
    TComplex m{index.re, index.im};
    TComplex x = sizeParameter(lambda, radius);
    if (const FpFault f = check(x.Re, x.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return intensitySteps([&] { return dllun::scatMatrix(x, m, kScatteringAngle); }, check);
}

// Leaves the flags for the end of a batch, but ends the evaluation at a
// step whose value left the finite range, so that no later step (the
// library least of all) is handed what the step-by-step evaluation would
// never hand it. The fault named here only marks the evaluation for the
// step-by-step one.
struct BatchEnd {
    template <typename... Values> FpFault operator()(Values&... values) const {
        const bool finite = (... && (std::fabs(values) <= std::numeric_limits<double>::max()));
        return finite ? FpFault::None : FpFault::InvalidOperation;
    }
};

// The scattering matrix of two amplitudes, as the binding's call gives it.
dllun::ScatteringMatrix matrixOf(const quellis::Amplitudes& amplitudes) {
    const quellis::ScatteringElements e = quellis::scatteringElements(amplitudes);
    return {quellis::toT(e.s11), quellis::toT(e.s12), quellis::toT(e.s33), quellis::toT(e.s34)};
}

bool finite(const TComplex& a) {
    return BatchEnd{}(a.Re, a.Im) == FpFault::None;
}

// The indices of a batch that reach the series (those whose own steps did
// not fault) and their m; the faulted ones' values go to `out`. False where
// an m is not finite: the evaluation stops there.
bool seriesIndices(std::span<const RefractiveIndex> indices, std::span<ModelValue> out,
                   std::vector<std::size_t>& members, std::vector<quellis::Cx>& ms) {
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const RefractiveIndex& index = indices[i];
        if (index.fault != FpFault::None) {
            out[i] = {0.0, 0.0, index.fault};
            continue;
        }
        const TComplex m{index.re, index.im};
        if (!finite(m)) {
            return false;
        }
        members.push_back(i);
        ms.push_back(quellis::fromT(m));
    }
    return true;
}

// The intensities of the members from matrix(j), the scattering matrix of
// member j; false once one leaves the finite range.
template <typename Matrix>
bool memberIntensities(std::span<const std::size_t> members, std::span<ModelValue> out,
                       Matrix matrix) {
    for (std::size_t j = 0; j < members.size(); ++j) {
        ModelValue& value = out[members[j]];
        value = intensitySteps([&] { return matrix(j); }, BatchEnd{});
        if (value.fault != FpFault::None) {
            return false;
        }
    }
    return true;
}

} // namespace

RefractiveIndex refractiveIndexOf(double lambda, double gam, double wp, double w0) {
    clearFpFlags();
    pinFp(lambda, gam, wp, w0);
    return indexSteps(lambda, gam, wp, w0, EachStep{});
}

ModelValue ModelIntensities(const ModelParams& params) {
    clearFpFlags();
    return evaluate(params, EachStep{});
}

void modelIntensitiesBatch(std::span<const ModelParams> params, std::span<ModelValue> out) {
    if (params.empty()) {
        return;
    }
    clearFpFlags();
    bool stopped = false;
    for (std::size_t i = 0; i < params.size(); ++i) {
        out[i] = evaluate(params[i], BatchEnd{});
        stopped = stopped || out[i].fault != FpFault::None;
    }
    if (!stopped && faultAfter(out.back()) == FpFault::None) {
        return;
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        out[i] = ModelIntensities(params[i]);
    }
}

void modelIntensitiesOfOneSize(std::span<const ModelParams> params,
                               std::span<const RefractiveIndex> indices,
                               std::span<ModelValue> out) {
    if (params.empty()) {
        return;
    }
    clearFpFlags();
    double lambda = params.front().lambda;
    double radius = params.front().radius;
    double theta = kScatteringAngle;
    pinFp(lambda, radius, theta);
    TComplex x = sizeParameter(lambda, radius);
    std::vector<std::size_t> members;
    std::vector<quellis::Cx> ms;
    bool stopped = !finite(x) || !seriesIndices(indices, out, members, ms);
    if (!stopped && quellis::PreparedSphereSize::serves(x.Re)) {
        // The series of the indices in vector lanes where the processor has
        // them; one by one otherwise and for the indices the lanes leave.
        const quellis::PreparedSphereSize size(x.Re, theta);
        std::vector<quellis::Amplitudes> amplitudes(members.size());
        std::vector<unsigned char> rerun(members.size(), 1);
        indexAmplitudesInLanes(size, ms, amplitudes, rerun);
        stopped = !memberIntensities(members, out, [&](std::size_t j) {
            return matrixOf(rerun[j] ? size.amplitudes(ms[j]) : amplitudes[j]);
        });
    } else if (!stopped) {
        stopped = !memberIntensities(members, out, [&](std::size_t j) {
            return dllun::scatMatrix(x, quellis::toT(ms[j]), kScatteringAngle);
        });
    }
    if (!stopped && faultAfter(out[params.size() - 1]) == FpFault::None) {
        return;
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        out[i] = ModelIntensities(params[i]);
    }
}

} // namespace velmora
