// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Match.h"

#include <cmath>

namespace velmora {

MatchValue MatchIntensities(const Measured& measured,
                            const std::array<ModelValue, kWavelengths>& models) {
    constexpr double channels = 2.0 * kWavelengths;
    std::array<double, kWavelengths> rV{};
    std::array<double, kWavelengths> rH{};
    for (int k = 0; k < kWavelengths; ++k) {
        if (models[k].fault != FpFault::None) {
            return {0.0, 0.0, 0.0, models[k].fault};
        }
        double iv = measured.iv[k];
        double ih = measured.ih[k];
        double modelV = models[k].iv;
        double modelH = models[k].ih;
        clearFpFlags();
        pinFp(iv, ih, modelV, modelH);
        rV[k] = iv / modelV;
        if (const FpFault f = faultAfter(rV[k]); f != FpFault::None) {
            return {0.0, 0.0, 0.0, f};
        }
        rH[k] = ih / modelH;
        if (const FpFault f = faultAfter(rH[k]); f != FpFault::None) {
            return {0.0, 0.0, 0.0, f};
        }
    }
    double sum = 0.0;
    for (int k = 0; k < kWavelengths; ++k) {
        sum += rV[k] + rH[k];
    }
    double mean = sum / channels;
    double squares = 0.0;
    for (int k = 0; k < kWavelengths; ++k) {
        const double dV = mean - rV[k];
        const double dH = mean - rH[k];
        squares += dV * dV + dH * dH;
    }
    double err = std::sqrt(squares) / channels;
    double vx = (mean == 0.0) ? 100.0 : err * 100.0 / mean;
    if (const FpFault f = faultAfter(mean, err, vx); f != FpFault::None) {
        return {0.0, 0.0, 0.0, f};
    }
    return {mean, err, vx, FpFault::None};
}

} // namespace velmora
