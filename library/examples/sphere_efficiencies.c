// SPDX-License-Identifier: MIT
/* Calling quellis from C: the efficiencies and the scattering matrix of a
   glass sphere of size parameter 1 (relative index 1.5) at 90 degrees.
   Usage: sphere_efficiencies [x [n k]] */
#include "quellis.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    TComplex x = {1.0, 0.0};
    TComplex m = {1.5, 0.0};
    if (argc > 1) {
        x.Re = atof(argv[1]);
    }
    if (argc > 3) {
        m.Re = atof(argv[2]);
        m.Im = atof(argv[3]);
    }

    double qsca, qext, qback;
    CrossSection(&x, &m, &qsca, &qext, &qback);
    printf("Qsca = %.6f  Qext = %.6f  Qback = %.6f\n", qsca, qext, qback);

    TComplex s11, s12, s33, s34;
    ScatMatrix(&x, &m, &s11, 1.5707963267948966, &s12, &s33, &s34);
    printf("S11 = %.6g  S12 = %.6g  S33 = %.6g  S34 = %.6g\n", s11.Re, s12.Re, s33.Re, s34.Re);
    return 0;
}
