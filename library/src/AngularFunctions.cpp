// Tables of the angular functions pi_n and tau_n at one scattering angle.
#include "SphereSeries.h"

namespace quellis {

void angularFunctions(double theta, long n, Cx* pi, Cx* tau) {
    AngularRecurrence angular(theta);
    pi[0] = angular.piPrev();
    for (;;) {
        const long k = angular.order();
        pi[k] = angular.pi();
        tau[k] = angular.tau();
        if (k >= n) {
            break;
        }
        angular.advance();
    }
}

} // namespace quellis
