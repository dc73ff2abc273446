// Tables of the Riccati-Bessel functions psi_n, chi_n and xi_n of one
// argument, orders 0..max(n,1).
#include "SphereSeries.h"

namespace quellis {

void riccatiBessel(Cx z, long n, Cx* psi, Cx* chi, Cx* xi) {
    RiccatiBesselRecurrence rb(z);
    psi[0] = rb.psiPrev();
    chi[0] = rb.chiPrev();
    xi[0] = rb.xiPrev();
    for (;;) {
        const long k = rb.order();
        psi[k] = rb.psi();
        chi[k] = rb.chi();
        xi[k] = rb.xi();
        if (k >= n) {
            break;
        }
        rb.advance();
    }
}

} // namespace quellis
