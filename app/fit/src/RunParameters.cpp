// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RunParameters.h"

#include "fit/IntensityModel.h"
#include "fit/Numbers.h"
#include "fit/RunError.h"
#include "fit/Search.h"

#include <string>

namespace velmora {

RunInputs RunInputs::defaults() {
    RunInputs inputs;
    for (const FieldDefault& d : kFieldDefaults) {
        inputs.text(d.field) = d.text;
    }
    return inputs;
}

double fieldDecimal(const RunInputs& inputs, Field field) {
    try {
        return parseDecimal(inputs.text(field));
    } catch (const RunError& failure) {
        throw FieldError(failure.what(), field);
    }
}

int fieldInteger(const RunInputs& inputs, Field field) {
    try {
        return parseInteger(inputs.text(field));
    } catch (const RunError& failure) {
        throw FieldError(failure.what(), field);
    }
}

RunParameters parseRunParameters(const RunInputs& in) {
    RunParameters p;
    for (int k = 1; k <= kWavelengths; ++k) {
        p.Lambda[k] = fieldDecimal(in, lambdaField(k));
    }
    p.Rmin = fieldDecimal(in, Field::Rmin);
    p.Rmax = fieldDecimal(in, Field::Rmax);
    p.WpMax = fieldDecimal(in, Field::WpMax);
    p.WpMin = fieldDecimal(in, Field::WpMin);
    p.GamMax = fieldDecimal(in, Field::GamMax);
    p.GamMin = fieldDecimal(in, Field::GamMin);
    p.N = fieldInteger(in, Field::N);
    if (p.N > kMaxRadiusSteps) {
        std::string message = "N = ";
        message += std::to_string(p.N);
        message += " exceeds the limit of " + std::to_string(kMaxRadiusSteps) + " radius steps";
        throw FieldError(message, Field::N);
    }
    p.dR = gridStep(p.Rmin, p.Rmax, p.N);
    p.W0 = in.dielectric == static_cast<int>(Dielectric::Lorents) ? kLorentsResonance
                                                                  : kDrudeResonance;
    return p;
}

} // namespace velmora
