// SPDX-License-Identifier: MIT
// The complex arcsine, arccosine and arctangent, to a few ulps (normwise)
// wherever the result is a double. Their values are the principal values of
// arcsin A = -i ln(iA + sqrt(1 - A^2)), arccos A = -i ln(A + i sqrt(1 - A^2))
// and arctan A = -(i/2) ln((i - A)/(i + A)) with the principal square root
// and logarithm, branch cuts included; those formulas themselves cancel for
// small and for large |A|, so the values are formed otherwise.
#pragma once

#include "quellis/series/Cx.h"

namespace quellis {

// arcsin A. On the cuts (Im A = 0, |Re A| > 1) the value is that of the
// principal formula with a zero imaginary part of either sign: continuous
// with the lower half plane for Re A > 1, with the upper for Re A < -1.
Cx arcsin(Cx a);

// arccos A = pi/2 - arcsin A, with the same cuts, its real part formed
// without that subtraction.
Cx arccos(Cx a);

// arctan A. On the cuts (Re A = 0, |Im A| > 1) the real part is +pi/2 for
// either sign of a zero Re A.
Cx arctan(Cx a);

} // namespace quellis
