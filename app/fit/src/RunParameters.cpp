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

RunParameters parseRunParameters(const RunInputs& in) {
    RunParameters p;
    for (int k = 1; k <= kWavelengths; ++k) {
        p.Lambda[k] = parseDecimal(in.text(lambdaField(k)));
    }
    p.Rmin = parseDecimal(in.text(Field::Rmin));
    p.Rmax = parseDecimal(in.text(Field::Rmax));
    p.WpMax = parseDecimal(in.text(Field::WpMax));
    p.WpMin = parseDecimal(in.text(Field::WpMin));
    p.GamMax = parseDecimal(in.text(Field::GamMax));
    p.GamMin = parseDecimal(in.text(Field::GamMin));
    p.N = parseInteger(in.text(Field::N));
    if (p.N > kMaxRadiusSteps) {
        std::string message = "N = ";
        message += std::to_string(p.N);
        message += " exceeds the limit of " + std::to_string(kMaxRadiusSteps) + " radius steps";
        throw RunError(message);
    }
    p.dR = gridStep(p.Rmin, p.Rmax, p.N);
    p.W0 = in.dielectric == static_cast<int>(Dielectric::Lorents) ? kLorentsResonance
                                                                  : kDrudeResonance;
    return p;
}

} // namespace velmora
