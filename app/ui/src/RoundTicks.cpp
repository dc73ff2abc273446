// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RoundTicks.h"

#include <algorithm>
#include <cmath>

namespace velmora::ui {

double roundTickStep(double span, int maxTicks) {
    if (!(span > 0.0) || !std::isfinite(span)) {
        return 1.0;
    }
    const double limit = std::max(maxTicks, 1);
    double power = std::pow(10.0, std::floor(std::log10(span / limit)));
    // log10 may round either way: start one decade low and walk up.
    power /= 10.0;
    while (true) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double step = mantissa * power;
            // A small tolerance keeps 1.0 / 0.1 at 10 intervals, not 11.
            if (span / step <= limit * (1.0 + 1e-9)) {
                return step;
            }
        }
        power *= 10.0;
    }
}

int decimalsFor(double step) {
    if (!(step > 0.0) || step >= 1.0) {
        return 0;
    }
    return static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

namespace {

// count * step, divided by a whole 1 / step when the step is a fraction, so
// that -3 steps of 0.1 are -0.3 and not -0.30000000000000004.
double multipleOf(double count, double step) {
    if (step < 1.0) {
        return count / std::round(1.0 / step);
    }
    return count * step;
}

} // namespace

std::pair<double, double> roundedRange(double low, double high, double step) {
    const double tolerance = 1e-9;
    return {multipleOf(std::floor(low / step + tolerance), step),
            multipleOf(std::ceil(high / step - tolerance), step)};
}

std::pair<double, double> decadeRange(double low, double high) {
    double lowExponent = std::floor(std::log10(low) + 1e-12);
    double highExponent = std::ceil(std::log10(high) - 1e-12);
    if (highExponent <= lowExponent) {
        highExponent = lowExponent + 1.0;
    }
    return {std::pow(10.0, lowExponent), std::pow(10.0, highExponent)};
}

} // namespace velmora::ui
