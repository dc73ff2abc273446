// SPDX-License-Identifier: GPL-3.0-or-later
// The stack of every thread that runs fit work.
#pragma once

#include <cstddef>

namespace velmora {

// Far more than a fit needs: the library keeps its working tables on the
// stack (about 130 KB per ScatMatrix call), then come the model evaluation,
// the fitting loops and the sanitizers' bookkeeping. Set explicitly because
// some systems give a new thread as little as 1 MiB.
constexpr std::size_t kFitThreadStackBytes = 16u << 20;

} // namespace velmora
