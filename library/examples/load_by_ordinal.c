// SPDX-License-Identifier: MIT
/* Loading quellis.dll at run time on Windows: CrossSection found by its name
   and ScatMatrix by its ordinal, 21, and both called through pointers of the
   functions' own __stdcall type. */
#include "quellis.h"

#include <windows.h>

#include <stdio.h>

typedef void(QUELLIS_CALL* CrossSectionFn)(const TComplex*, const TComplex*, double*, double*,
                                           double*);
typedef void(QUELLIS_CALL* ScatMatrixFn)(const TComplex*, const TComplex*, TComplex*, double,
                                         TComplex*, TComplex*, TComplex*);

int main(void) {
    HMODULE dll = LoadLibraryA("quellis.dll");
    if (dll == NULL) {
        fprintf(stderr, "cannot load quellis.dll (error %lu)\n", GetLastError());
        return 1;
    }
    CrossSectionFn crossSection = (CrossSectionFn)(void*)GetProcAddress(dll, "CrossSection");
    ScatMatrixFn scatMatrix = (ScatMatrixFn)(void*)GetProcAddress(dll, MAKEINTRESOURCEA(21));
    if (crossSection == NULL || scatMatrix == NULL) {
        fprintf(stderr, "quellis.dll lacks CrossSection or ordinal 21\n");
        FreeLibrary(dll);
        return 1;
    }

    TComplex x = {1.0, 0.0}, m = {1.5, 0.0};
    double qsca, qext, qback;
    crossSection(&x, &m, &qsca, &qext, &qback);
    printf("Qsca = %.6f  Qext = %.6f  Qback = %.6f\n", qsca, qext, qback);

    TComplex s11, s12, s33, s34;
    scatMatrix(&x, &m, &s11, 1.5707963267948966, &s12, &s33, &s34);
    printf("S11 = %.6g  S12 = %.6g  S33 = %.6g  S34 = %.6g\n", s11.Re, s12.Re, s33.Re, s34.Re);
    FreeLibrary(dll);
    return 0;
}
