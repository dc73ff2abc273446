// SPDX-License-Identifier: GPL-3.0-or-later
// How many processors this process may run on.
#pragma once

namespace velmora {

// The processors this process may run on: its CPU affinity (as `taskset`
// or a batch scheduler sets it) on Linux, its process affinity mask on
// Windows, else the processors of the machine; at least 1.
int availableCpus();

} // namespace velmora
