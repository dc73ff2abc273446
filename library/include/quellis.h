// SPDX-License-Identifier: MIT
/*
 * quellis: complex arithmetic and Mie scattering by a homogeneous sphere, a
 * coated sphere and in the near field, as flat C functions.
 *
 * Conventions shared by every function:
 * - No function returns a value; every result is written through an output
 *   pointer. TComplex inputs are read through a pointer and copied on entry,
 *   so an output may point at one of the inputs.
 * - An array argument is a pair: the address of element 0 and the index of
 *   its last element ("High"). Nothing is ever written past that index; the
 *   integer outputs (N, NN) still report the full count a caller needs.
 * - A refractive index m = n + i*k with k >= 0 means absorption; the size
 *   parameter is x = k*r with k the wavenumber in the medium; angles are in
 *   radians from the forward direction.
 * - Amplitudes and matrix elements carry no factor 1/k^2; efficiencies are
 *   cross sections divided by the geometric cross section of the particle.
 * - The library keeps no state and may be called from any thread.
 * - Sizes that are computed: every finite size parameter whose series fits
 *   the library's tables, which hold up to 2^26 orders (x up to about
 *   6.7e7 for the sums over all N orders; a call that writes only a
 *   caller's first few orders needs only those, so ScattKoef, Bessel and
 *   Aden serve short arrays for any size whose N fits an int32, x up to
 *   about 2.1e9). Beyond that (a size that is infinite or not a number, N
 *   beyond an int32, or tables the library cannot or will not allocate)
 *   every floating-point output is a quiet NaN and an integer count output
 *   is -1 where the count does not fit an int32, else the count that could
 *   not be served. No call ever throws, aborts or signals.
 * - Particle sizes: a sphere (Re X) or coated sphere (Re Y, Re X of the
 *   core) of negative size, and a sphere or outer size X = 0 (Y = 0), have
 *   no answer: their efficiencies, amplitudes, matrix elements and near
 *   fields are NaN (a negative size raises the invalid-operation flag of
 *   its term count's logarithm, X = 0 the flags of its division by zero). A core of size 0 (or one
 * below 1e-100 of the outer size) is none: the particle is the homogeneous sphere of the shell's
 *   index. The functions of a negative argument (Bessel, AnglFun, ...) have
 *   no terms beyond orders 0 and 1.
 * - Accuracy: functions and coefficients are right to about 1e-12 relative
 *   at every order written (psi_n from the downward recurrence of its
 *   ratios, never from the unstable upward one), and so are the sums, down
 *   to x = 1e-6 for a sphere and y = 1e-8 for a coated one (a non-absorbing
 *   particle keeps Qext = Qsca to about 1e-15); below those the efficiencies
 *   are the dipole (Rayleigh) limit, 0 only where the true value lies below
 *   the smallest double. The angular functions are exact at
 *   cos(Theta) = +-1 (pi_n = n(n+1)/2 (+-1)^(n+1), tau_n = +-pi_n).
 * - Time: a call costs the orders it computes and returns. D_n(m x) of a
 *   huge index is taken upward, or down from its continued fraction at the
 *   series' last order, never over the |m x| orders above the series; a
 *   size that is not a finite number returns at once.
 */
#ifndef QUELLIS_H
#define QUELLIS_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define QUELLIS_CALL __stdcall
#else
#define QUELLIS_CALL
#endif

#if defined(_WIN32)
#define QUELLIS_API
#else
#define QUELLIS_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A complex number: real part first. */
typedef struct TComplex {
    double Re, Im;
} TComplex;

/* ---- Complex arithmetic ------------------------------------------------ */

/* R = conjugate of A. */
QUELLIS_API void QUELLIS_CALL SprCom(const TComplex* A, TComplex* R);
/* R = |A| = sqrt(Re^2 + Im^2); where that sum of squares would overflow or
   underflow, |A| is taken by the scaled hypot, so a modulus that is a
   double comes out as one (LogCom, PowCom and RootCom likewise). */
QUELLIS_API void QUELLIS_CALL AbsCom(const TComplex* A, double* R);
/* R = A*B. */
QUELLIS_API void QUELLIS_CALL MultCom(const TComplex* A, const TComplex* B, TComplex* R);
/* R = A/B by Smith's method; B = 0 is not checked. */
QUELLIS_API void QUELLIS_CALL DivCom(const TComplex* A, const TComplex* B, TComplex* R);
/* The n n-th roots of A into R[0..n-1], principal root first, at angles
   advancing by 2*pi/n; nothing is written for n < 0 or past RHigh. */
QUELLIS_API void QUELLIS_CALL RootCom(const TComplex* A, int32_t n, TComplex* R, int32_t RHigh);
/* R = A^p, principal value; A = 0 gives 0 for every p. */
QUELLIS_API void QUELLIS_CALL PowCom(const TComplex* A, TComplex* R, double p);
/* R = e^A. */
QUELLIS_API void QUELLIS_CALL ExpCom(const TComplex* A, TComplex* R);
/* R = branch k of ln A: (ln|A|, arg A + 2*pi*k); k = 0 is the principal one. */
QUELLIS_API void QUELLIS_CALL LogCom(const TComplex* A, int32_t k, TComplex* R);
/* The elementary functions below are right to a few ulps (normwise,
   |R - f(A)|/|f(A)| below about 1e-15) for every A whose f(A) is a finite
   double, small and large |A| included. */
/* R = sin A = sin x cosh y + i cos x sinh y (x = Re A, y = Im A). */
QUELLIS_API void QUELLIS_CALL SinCom(const TComplex* A, TComplex* R);
/* R = cos A = cos x cosh y - i sin x sinh y. */
QUELLIS_API void QUELLIS_CALL CosCom(const TComplex* A, TComplex* R);
/* R = tan A; for large |Im A| it tends to +-i and never overflows. */
QUELLIS_API void QUELLIS_CALL TanCom(const TComplex* A, TComplex* R);
/* R = arcsin A, the principal value of -i*ln(iA + sqrt(1 - A^2)). Cuts on
   the real axis beyond +-1: for Re A > 1 the value of the lower half plane
   (pi/2 - i acosh x), for Re A < -1 that of the upper, whatever the sign of
   a zero Im A; on [-1, 1] the imaginary part is -0. */
QUELLIS_API void QUELLIS_CALL ArcsinCom(const TComplex* A, TComplex* R);
/* R = arccos A = pi/2 - arcsin A, the principal value of
   -i*ln(A + i*sqrt(1 - A^2)), with the cuts of ArcsinCom. */
QUELLIS_API void QUELLIS_CALL ArccosCom(const TComplex* A, TComplex* R);
/* R = arctan A, the principal value of -(i/2)*ln((i - A)/(i + A)). Cuts on
   the imaginary axis beyond +-i, where the real part is +pi/2 for either
   sign of a zero Re A; on the real axis the imaginary part is -0. */
QUELLIS_API void QUELLIS_CALL ArctanCom(const TComplex* A, TComplex* R);

/* ---- Homogeneous sphere ------------------------------------------------ */

/* Riccati-Bessel functions psi_n(X) and xi_n(X) = psi_n - i*chi_n for
   n = 0..max(N,1), with N = round(x + 4*x^(1/3) + 2) from x = Re X, written
   to *N; right at every order (psi_n, which decays as n grows past |X|,
   from its ratios by downward recurrence; chi_n and xi_n upward). M is
   accepted and not used. */
QUELLIS_API void QUELLIS_CALL Bessel(const TComplex* X, const TComplex* M, int32_t* N,
                                     TComplex* Psi, int32_t PsiHigh, TComplex* Xi, int32_t XiHigh);
/* Logarithmic derivative D_n(M*X) = psi_n'/psi_n for n = 0..NN, with
   NN = max(N, round(|M*X|)) + 15 written to *NN. */
QUELLIS_API void QUELLIS_CALL Aden(const TComplex* X, const TComplex* M, int32_t* NN, TComplex* D,
                                   int32_t DHigh);
/* Mie coefficients a_n, b_n of a sphere of size X and relative index M for
   n = 1..N (element 0 untouched); N written to *N. */
QUELLIS_API void QUELLIS_CALL ScattKoef(const TComplex* X, const TComplex* M, int32_t* N,
                                        TComplex* A, int32_t AHigh, TComplex* B, int32_t BHigh);
/* Angular functions pi_n(cos Theta) for n = 0..max(N,1) and tau_n for
   n = 1..max(N,1) (Tau[0] untouched), N from Re X. */
QUELLIS_API void QUELLIS_CALL AnglFun(const TComplex* X, TComplex* Pi, int32_t PiHigh, double Theta,
                                      TComplex* Tau, int32_t TauHigh);
/* Efficiencies for scattering, extinction and backscattering. */
QUELLIS_API void QUELLIS_CALL CrossSection(const TComplex* X, const TComplex* M, double* Qsca,
                                           double* Qext, double* Qback);
/* Amplitude functions S1 (perpendicular) and S2 (parallel) at angle Theta. */
QUELLIS_API void QUELLIS_CALL AmplMatrix(const TComplex* X, const TComplex* M, TComplex* S1,
                                         double Theta, TComplex* S2);
/* Scattering-matrix elements at Theta: S11 = (|S1|^2+|S2|^2)/2,
   S12 = (|S2|^2-|S1|^2)/2, S33 = Re(S1*conj S2), S34 = Im(S2*conj S1);
   all with zero imaginary part. */
QUELLIS_API void QUELLIS_CALL ScatMatrix(const TComplex* X, const TComplex* M, TComplex* S11,
                                         double Theta, TComplex* S12, TComplex* S33, TComplex* S34);

/* ---- Coated sphere (core size X, index M1; outer size Y, shell index M2) */
/* X = k*a and Y = k*b for core radius a <= outer radius b (k the wavenumber
   in the medium); M1 and M2 relative to the medium. CoatCrossSection,
   CoatAmplMatrix and CoatScatMatrix sum N = round(y + 4*y^(1/3) + 2) orders,
   y = Re Y. Absorbing cores and shells (metals) give finite, accurate
   results; the core is dropped from the order at which its share of the
   shell field falls below 1e-8. */

/* psi_n(Z), chi_n(Z) and xi_n(Z) = psi_n - i*chi_n for n = 0..max(*N,1),
   right at every order for any complex Z (as Bessel); *N is only read.
   Functions beyond the double range are 0 (psi_n) or infinite (chi_n,
   xi_n). M is accepted and not used. */
QUELLIS_API void QUELLIS_CALL CoatBessel(const TComplex* Z, const TComplex* M, const int32_t* N,
                                         TComplex* Psi, int32_t PsiHigh, TComplex* Chi,
                                         int32_t ChiHigh, TComplex* Xi, int32_t XiHigh);
/* Efficiencies for scattering, extinction and backscattering of the whole
   particle, cross sections divided by pi*b^2 (factor 2/|Y|^2). */
QUELLIS_API void QUELLIS_CALL CoatCrossSection(const TComplex* X, const TComplex* Y,
                                               const TComplex* M1, const TComplex* M2, double* Qsca,
                                               double* Qext, double* Qback);
/* Amplitude functions S1 (perpendicular) and S2 (parallel) of the coated
   sphere at the scattering angle Theta (radians); no factor 1/k^2. */
QUELLIS_API void QUELLIS_CALL CoatAmplMatrix(const TComplex* X, const TComplex* Y,
                                             const TComplex* M1, const TComplex* M2, double Theta,
                                             TComplex* S1, TComplex* S2);
/* Scattering-matrix elements of the coated sphere at Theta, formed from
   CoatAmplMatrix as ScatMatrix forms them; zero imaginary parts. */
QUELLIS_API void QUELLIS_CALL CoatScatMatrix(const TComplex* X, const TComplex* Y,
                                             const TComplex* M1, const TComplex* M2, double Theta,
                                             TComplex* S11, TComplex* S12, TComplex* S33,
                                             TComplex* S34);
/* Logarithmic derivative D_n(X*M) = psi_n'/psi_n for n = 0..*N (only D[0]
   when *N <= 0), accurate also for strongly absorbing arguments. */
QUELLIS_API void QUELLIS_CALL CoatAden(const TComplex* X, const TComplex* M, const int32_t* N,
                                       TComplex* D, int32_t DHigh);
/* Mie coefficients a_n, b_n of the coated sphere for n = 1..*N (elements 0
   untouched; nothing written when *N <= 0). Orders far past N(y), whose
   coefficients lie below the smallest double, are 0. */
QUELLIS_API void QUELLIS_CALL CoatScattKoef(const TComplex* X, const TComplex* Y,
                                            const TComplex* M1, const TComplex* M2,
                                            const int32_t* N, TComplex* A, int32_t AHigh,
                                            TComplex* B, int32_t BHigh);

/* ---- Near field of a sphere at Rho = k*r ------------------------------- */
/* The field scattered by the sphere of X and M (as for ScattKoef) at the
   distance r from its centre, for an incident field of amplitude 1. The
   sums run over the sphere's N = round(x + 4*x^(1/3) + 2) orders, x = Re X,
   with the outgoing radial function xi_n(Rho) and its derivative
   xi_{n-1} - (n/Re Rho)*xi_n; points inside the sphere's radius are
   computed with the same sums. Theta is the polar angle from the forward
   direction, Phi the azimuth from the incident polarisation, in radians. */

/* Near-field amplitude sums S1, S2: the sums of AmplMatrix with a_n weighted
   by xi_n'(Rho) and b_n by xi_n(Rho). */
QUELLIS_API void QUELLIS_CALL NearAmplMatrix(const TComplex* X, const TComplex* Rho,
                                             const TComplex* M, double Theta, TComplex* S1,
                                             TComplex* S2);
/* Near-field scattering-matrix elements, formed from NearAmplMatrix as
   ScatMatrix forms them from AmplMatrix; zero imaginary parts. */
QUELLIS_API void QUELLIS_CALL NearScatMatrix(const TComplex* X, const TComplex* Rho,
                                             const TComplex* M, double Theta, TComplex* S11,
                                             TComplex* S12, TComplex* S33, TComplex* S34);
/* |sum (2n+1) xi_n(Rho) sin(Theta) a_n pi_n|^2, the squared modulus of the
   longitudinal (radial) amplitude sum, as (L, 0). */
QUELLIS_API void QUELLIS_CALL NearLongAmpl(const TComplex* X, const TComplex* Rho,
                                           const TComplex* M, double Theta, TComplex* L);
/* Spherical components of the scattered E and H fields without their
   azimuth and distance factors: at the point they are Ephi*sin(Phi)/rho,
   Etheta*cos(Phi)/rho, Er*cos(Phi)/rho^2, Hphi*cos(Phi)/rho,
   Htheta*sin(Phi)/rho and Hr*sin(Phi)/rho^2, rho = Re Rho.
   The tangential components are the scattered field's:
     Ephi   = sum E_n (xi_n b_n tau_n - i xi_n' a_n pi_n),
     Etheta = sum E_n (i xi_n' a_n tau_n - xi_n b_n pi_n),
     Hphi   = sum E_n (i xi_n' b_n pi_n - xi_n a_n tau_n),
     Htheta = sum E_n (i xi_n' b_n tau_n - xi_n a_n pi_n),
   with E_n = i^n (2n+1)/(n(n+1)). The radial components are weighted by
   n(n+1) alone, without E_n:
     Er = i sum n(n+1) xi_n a_n pi_n sin(Theta),
     Hr =   sum n(n+1) xi_n b_n pi_n sin(Theta).
   They are therefore NOT the radial parts of the scattered field, whose
   sums carry i^(n+1) (2n+1) in place of i n(n+1) (Er) and n(n+1) (Hr):
   the physical Er is sum i^(n+1) (2n+1) a_n xi_n pi_n sin(Theta) (and Hr
   the same with b_n), with which div E = 0 holds and these values fail it.
   Kept as they are for the callers that rely on them. */
QUELLIS_API void QUELLIS_CALL NearFields(const TComplex* X, const TComplex* Rho, const TComplex* M,
                                         double Theta, TComplex* Ephi, TComplex* Etheta,
                                         TComplex* Er, TComplex* Hphi, TComplex* Htheta,
                                         TComplex* Hr);
/* 1/2 Re(E x conj H) at (Rho, Theta, Phi) from the six NearFields
   components with their azimuth and distance factors: its phi, theta and
   radial components, each as (S, 0). Sr = 1/2 Re(Etheta conj Hphi - Ephi
   conj Htheta) uses only the tangential components and is the scattered
   field's radial Poynting vector; Stheta = 1/2 Re(Ephi conj Hr - Er conj
   Hphi) and Sphi = 1/2 Re(Er conj Htheta - Etheta conj Hr) use NearFields'
   radial components and so differ from the scattered field's (by up to
   two orders of magnitude). */
QUELLIS_API void QUELLIS_CALL NearPointing(const TComplex* X, const TComplex* Rho,
                                           const TComplex* M, double Theta, double Phi,
                                           TComplex* Sphi, TComplex* Stheta, TComplex* Sr);

#ifdef __cplusplus
}
#endif

#endif
