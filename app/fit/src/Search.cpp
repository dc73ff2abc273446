// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Search.h"

#include "fit/RunModel.h"

namespace velmora {

double gridStep(double lowest, double highest, int steps) {
    double lo = lowest;
    double hi = highest;
    double n = steps;
    clearFpFlags();
    pinFp(lo, hi, n);
    double step = (hi - lo) / n;
    throwIfFpFault(step);
    return step;
}

GridPoint gridPoint(double start, int index, double step) {
    double s = start;
    double d = step;
    double i = index;
    clearFpFlags();
    pinFp(s, d, i);
    double value = s + i * d;
    const FpFault fault = faultAfter(value);
    return {fault == FpFault::None ? value : 0.0, fault};
}

double gridValue(double start, int index, double step) {
    const GridPoint point = gridPoint(start, index, step);
    if (point.fault != FpFault::None) {
        throwFpFault(point.fault);
    }
    return point.value;
}

MatchValue scoreCandidate(const Measured& measured, const RunParameters& p, double radius,
                          double gam, double wp, double sigma) {
    std::array<ModelValue, kWavelengths> models{};
    for (int k = 1; k <= kWavelengths; ++k) {
        models[k - 1] = runModel(p, p.Lambda[k], radius, gam, wp, sigma);
        if (models[k - 1].fault != FpFault::None) {
            break;
        }
    }
    const MatchValue match = MatchIntensities(measured, models);
    if (match.fault != FpFault::None) {
        throwFpFault(match.fault);
    }
    return match;
}

void pollStop(RunView& view) {
    if (!view.runFlag()) {
        answerStop(view);
    }
}

void answerStop(RunView& view) {
    if (view.stopConfirmation()) {
        throw RunStopped{};
    }
    view.setRunFlag();
}

void pollStops(RunView& view, int count) {
    while (count > 0) {
        const int answered = view.pollsWhileSet(count);
        if (answered == count) {
            return;
        }
        answerStop(view);
        count -= answered + 1;
    }
}

} // namespace velmora
