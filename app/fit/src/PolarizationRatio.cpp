// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/PolarizationRatio.h"

#include <cmath>

namespace velmora {

double measuredPolRatio(double v, double h) {
    clearFpFlags();
    pinFp(v, h);
    double difference = h - v;
    double sum = h + v;
    throwIfFpFault(difference, sum);
    if (difference == 0.0 || sum == 0.0) {
        return 0.0;
    }
    double ratio = difference / sum;
    throwIfFpFault(ratio);
    return ratio;
}

PolarizationMismatch polarizationMismatch(double measuredRatio, const ModelValue& model) {
    if (model.fault != FpFault::None) {
        return {0.0, model.fault};
    }
    double pm = measuredRatio;
    double iv = model.iv;
    double ih = model.ih;
    clearFpFlags();
    pinFp(pm, iv, ih);
    double ratio = (ih - iv) / (ih + iv);
    double value = std::fabs(pm - ratio);
    if (const FpFault f = faultAfter(ratio, value); f != FpFault::None) {
        return {0.0, f};
    }
    return {value, FpFault::None};
}

} // namespace velmora
