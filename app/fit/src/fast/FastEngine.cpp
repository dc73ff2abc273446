// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastEngine.h"

#include "fit/SearchGeometry.h"

namespace velmora {

FastEngine::FastEngine(const RunParameters& p, int threads)
    : pool_(threads - 1), radii_(p.Rmin, p.dR, 0, std::max(p.N, kWidestFirstReach)) {}

} // namespace velmora
