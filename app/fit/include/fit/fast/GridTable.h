// SPDX-License-Identifier: GPL-3.0-or-later
// The points of one search grid, start + index * step, computed once per run
// with the fault each one raises, exactly as gridValue computes them.
// Points with the same value collapse into one distinct value, so that a
// model table keyed by values computes each only once.
#pragma once

#include "fit/Search.h"

#include <vector>

namespace velmora {

class GridTable {
public:
    // The points of indices first..last (none when last < first).
    GridTable(double start, double step, int first, int last);

    // The value of a point; throws RunError with its fault.
    double at(int index) const {
        const GridPoint& p = point(index);
        if (p.fault != FpFault::None) {
            throwFpFault(p.fault);
        }
        return p.value;
    }
    const GridPoint& point(int index) const { return points_[index - first_]; }
    // The last index (first - 1 when there are none).
    int lastIndex() const { return first_ + static_cast<int>(points_.size()) - 1; }
    bool faulted(int index) const { return point(index).fault != FpFault::None; }

    // The distinct values, numbered 0..distinctCount() - 1 in the order of
    // their first index. A faulted point is a value of its own.
    int distinctCount() const { return static_cast<int>(firstIndexOf_.size()); }
    int distinctOf(int index) const { return distinctOf_[index - first_]; }
    int firstIndexOf(int distinct) const { return firstIndexOf_[distinct]; }

private:
    int first_;
    std::vector<GridPoint> points_;
    std::vector<int> distinctOf_;
    std::vector<int> firstIndexOf_;
};

} // namespace velmora
