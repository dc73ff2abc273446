// The five near-field exports: each copies its inputs and writes its results
// through the caller's pointers.
#include "Near.h"

using namespace quellis;

extern "C" {

void QUELLIS_CALL NearAmplMatrix(const TComplex* X, const TComplex* Rho, const TComplex* M,
                                 double Theta, TComplex* S1, TComplex* S2) {
    const Amplitudes s = nearAmplitudes(fromT(*X), fromT(*Rho), fromT(*M), Theta);
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL NearScatMatrix(const TComplex* X, const TComplex* Rho, const TComplex* M,
                                 double Theta, TComplex* S11, TComplex* S12, TComplex* S33,
                                 TComplex* S34) {
    const ScatteringElements e =
        scatteringElements(nearAmplitudes(fromT(*X), fromT(*Rho), fromT(*M), Theta));
    *S11 = toT(e.s11);
    *S12 = toT(e.s12);
    *S33 = toT(e.s33);
    *S34 = toT(e.s34);
}

void QUELLIS_CALL NearLongAmpl(const TComplex* X, const TComplex* Rho, const TComplex* M,
                               double Theta, TComplex* L) {
    *L = toT(real(nearLongitudinal(fromT(*X), fromT(*Rho), fromT(*M), Theta)));
}

void QUELLIS_CALL NearFields(const TComplex* X, const TComplex* Rho, const TComplex* M,
                             double Theta, TComplex* Ephi, TComplex* Etheta, TComplex* Er,
                             TComplex* Hphi, TComplex* Htheta, TComplex* Hr) {
    const NearFieldComponents f = nearFields(fromT(*X), fromT(*Rho), fromT(*M), Theta);
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
    const NearPoynting s = nearPoynting(fromT(*X), fromT(*Rho), fromT(*M), Theta, Phi);
    *Sphi = toT(real(s.phi));
    *Stheta = toT(real(s.theta));
    *Sr = toT(real(s.r));
}
}
