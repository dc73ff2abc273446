// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/IntensityModel.h"

#include "DllUn/DllUn.h"

#include <cmath>
#include <limits>

namespace velmora {

namespace {
constexpr double kSizeFactor = 6.28;
constexpr double kScatteringAngle = 2.0933333333333333;
constexpr double kRefractiveExponent = 0.5;

// The steps of one evaluation. After each step `check` names the fault it
// raised, if any, and the evaluation ends there; the arithmetic is the same
// whatever `check` does.
template <typename Check> ModelValue evaluate(const ModelParams& params, Check check) {
    double lambda = params.lambda;
    double radius = params.radius;
    double gam = params.gam;
    double wp = params.wp;
    double w0 = params.w0;
    pinFp(lambda, radius, gam, wp, w0);

    double e = photonEnergy(lambda);
    if (const FpFault f = check(e); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    const double detuning = w0 * w0 - e * e;
    double d = detuning * detuning + (e * e) * (gam * gam);
    if (const FpFault f = check(d); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    const double wp2 = wp * wp;
    TComplex eps{1.0 + wp2 * detuning / d, wp2 * gam * e / d};
    if (const FpFault f = check(eps.Re, eps.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    TComplex m = dllun::powCom(eps, kRefractiveExponent);
    if (const FpFault f = check(m.Re, m.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    TComplex x{kSizeFactor * radius / lambda, 0.0};
    if (const FpFault f = check(x.Re, x.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    dllun::ScatteringMatrix s = dllun::scatMatrix(x, m, kScatteringAngle);
    if (const FpFault f = check(s.s11.Re, s.s12.Re); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    double iv = s.s11.Re - s.s12.Re;
    double ih = s.s11.Re + s.s12.Re;
    if (const FpFault f = check(iv, ih); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return {iv, ih, FpFault::None};
}

// Tests the flags after a step.
struct EachStep {
    template <typename... Values> FpFault operator()(Values&... values) const {
        return faultAfter(values...);
    }
};

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

} // namespace

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

} // namespace velmora
