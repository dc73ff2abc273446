// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastEngine.h"

namespace velmora {

namespace {
// The first windows reach index 20 whatever N is.
constexpr int kFirstWindowReach = 20;
} // namespace

FastEngine::FastEngine(const RunParameters& p)
    : radii_(p.Rmin, p.dR, 0, std::max(p.N, kFirstWindowReach)) {}

} // namespace velmora
