// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/GridTable.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

namespace velmora {

GridTable::GridTable(double start, double step, int first, int last) : first_(first) {
    std::unordered_map<std::uint64_t, int> distinctByBits;
    for (int index = first; index <= last; ++index) {
        const GridPoint p = gridPoint(start, index, step);
        points_.push_back(p);
        int distinct = distinctCount();
        if (p.fault == FpFault::None) {
            distinct = distinctByBits.try_emplace(std::bit_cast<std::uint64_t>(p.value), distinct)
                           .first->second;
        }
        if (distinct == distinctCount()) {
            firstIndexOf_.push_back(index);
        }
        distinctOf_.push_back(distinct);
    }
}

} // namespace velmora
