// SPDX-License-Identifier: GPL-3.0-or-later
// Allocation failures reported as what ran out, in the user's terms.
#pragma once

#include "fit/RunError.h"

#include <new>
#include <string>

namespace velmora {

// Runs `work` and returns what it returns; an allocation failure inside it
// becomes RunError("Not enough memory for <what>").
template <typename Work> decltype(auto) withMemoryFor(const std::string& what, Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw RunError("Not enough memory for " + what);
    }
}

} // namespace velmora
