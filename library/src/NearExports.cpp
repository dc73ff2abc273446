// SPDX-License-Identifier: MIT
// The five near-field exports: each copies its inputs and writes its results
// through the caller's pointers; a sphere whose series is not computed (see
// Unserved.h) gives NaN in every output.
#include "Near.h"
#include "Unserved.h"

using namespace quellis;

namespace {

// compute() for a sphere with an answer, `unserved` otherwise or should the
// series' tables not be allocatable.
template <class Value, class Compute> Value nearOrNothing(Cx x, Value unserved, Compute compute) {
    Value value = unserved;
    if (!noParticle(x)) {
        answerOrNothing([&] { value = compute(); }, [&] { value = unserved; });
    }
    return value;
}

} // namespace

extern "C" {

void QUELLIS_CALL NearAmplMatrix(const TComplex* X, const TComplex* Rho, const TComplex* M,
                                 double Theta, TComplex* S1, TComplex* S2) {
    const Cx x = fromT(*X);
    const Amplitudes s = nearOrNothing(x, Amplitudes{noAnswer(), noAnswer()}, [&] {
        return nearAmplitudes(x, fromT(*Rho), fromT(*M), Theta);
    });
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL NearScatMatrix(const TComplex* X, const TComplex* Rho, const TComplex* M,
                                 double Theta, TComplex* S11, TComplex* S12, TComplex* S33,
                                 TComplex* S34) {
    const Cx x = fromT(*X);
    const Amplitudes s = nearOrNothing(x, Amplitudes{noAnswer(), noAnswer()}, [&] {
        return nearAmplitudes(x, fromT(*Rho), fromT(*M), Theta);
    });
    const ScatteringElements e = scatteringElements(s);
    *S11 = toT(e.s11);
    *S12 = toT(e.s12);
    *S33 = toT(e.s33);
    *S34 = toT(e.s34);
}

void QUELLIS_CALL NearLongAmpl(const TComplex* X, const TComplex* Rho, const TComplex* M,
                               double Theta, TComplex* L) {
    const Cx x = fromT(*X);
    const double l = nearOrNothing(
        x, kNoAnswer, [&] { return nearLongitudinal(x, fromT(*Rho), fromT(*M), Theta); });
    *L = toT(real(l));
}

void QUELLIS_CALL NearFields(const TComplex* X, const TComplex* Rho, const TComplex* M,
                             double Theta, TComplex* Ephi, TComplex* Etheta, TComplex* Er,
                             TComplex* Hphi, TComplex* Htheta, TComplex* Hr) {
    const Cx x = fromT(*X);
    const Cx none = noAnswer();
    const NearFieldComponents f =
        nearOrNothing(x, NearFieldComponents{none, none, none, none, none, none},
                      [&] { return nearFields(x, fromT(*Rho), fromT(*M), Theta); });
    *Ephi = toT(f.ePhi);
    *Etheta = toT(f.eTheta);
    *Er = toT(f.eR);
    *Hphi = toT(f.hPhi);
    *Htheta = toT(f.hTheta);
    *Hr = toT(f.hR);
}

void QUELLIS_CALL NearPointing(const TComplex* X, const TComplex* Rho, const TComplex* M,
                               double Theta, double Phi, TComplex* Sphi, TComplex* Stheta,
                               TComplex* Sr) {
    const Cx x = fromT(*X);
    const NearPoynting s = nearOrNothing(x, NearPoynting{kNoAnswer, kNoAnswer, kNoAnswer}, [&] {
        return nearPoynting(x, fromT(*Rho), fromT(*M), Theta, Phi);
    });
    *Sphi = toT(real(s.phi));
    *Stheta = toT(real(s.theta));
    *Sr = toT(real(s.r));
}
}
