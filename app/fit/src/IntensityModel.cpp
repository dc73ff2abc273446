#include "fit/IntensityModel.h"

#include "DllUn/DllUn.h"

namespace velmora {

namespace {
constexpr double kSizeFactor = 6.28;
constexpr double kScatteringAngle = 2.0933333333333333;
constexpr double kRefractiveExponent = 0.5;

} // namespace

ModelValue ModelIntensities(const ModelParams& params) {
    double lambda = params.lambda;
    double radius = params.radius;
    double gam = params.gam;
    double wp = params.wp;
    double w0 = params.w0;
    clearFpFlags();
    pinFp(lambda, radius, gam, wp, w0);

    double e = photonEnergy(lambda);
    if (const FpFault f = faultAfter(e); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    const double detuning = w0 * w0 - e * e;
    double d = detuning * detuning + (e * e) * (gam * gam);
    if (const FpFault f = faultAfter(d); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    const double wp2 = wp * wp;
    TComplex eps{1.0 + wp2 * detuning / d, wp2 * gam * e / d};
    if (const FpFault f = faultAfter(eps.Re, eps.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    TComplex m = dllun::powCom(eps, kRefractiveExponent);
    if (const FpFault f = faultAfter(m.Re, m.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    TComplex x{kSizeFactor * radius / lambda, 0.0};
    if (const FpFault f = faultAfter(x.Re, x.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    dllun::ScatteringMatrix s = dllun::scatMatrix(x, m, kScatteringAngle);
    if (const FpFault f = faultAfter(s.s11.Re, s.s12.Re); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    double iv = s.s11.Re - s.s12.Re;
    double ih = s.s11.Re + s.s12.Re;
    if (const FpFault f = faultAfter(iv, ih); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return {iv, ih, FpFault::None};
}

} // namespace velmora
