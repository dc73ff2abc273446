// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/LaneWidth.h"

#include <algorithm>
#include <atomic>

namespace velmora {

namespace {

bool processorRuns(LaneWidth width) {
#if defined(VELMORA_SIMD_LANES)
    // __builtin_cpu_supports also asks whether the system saves the wide
    // registers on a thread switch.
    switch (width) {
    case LaneWidth::Avx2:
        return __builtin_cpu_supports("avx2");
    case LaneWidth::Avx512:
        // What an AVX-512 batch leaves over goes to the AVX2 blocks.
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
    case LaneWidth::Scalar:
        break;
    }
#endif
    return width == LaneWidth::Scalar;
}

std::atomic<int> forced{0};

} // namespace

std::vector<LaneWidth> availableLaneWidths() {
    std::vector<LaneWidth> widths;
    for (LaneWidth width : {LaneWidth::Scalar, LaneWidth::Avx2, LaneWidth::Avx512}) {
        if (processorRuns(width)) {
            widths.push_back(width);
        }
    }
    return widths;
}

LaneWidth selectedLaneWidth() {
    if (const int width = forced.load(std::memory_order_relaxed); width != 0) {
        return static_cast<LaneWidth>(width);
    }
    static const LaneWidth widest = availableLaneWidths().back();
    return widest;
}

bool forceLaneWidth(LaneWidth width) {
    const std::vector<LaneWidth> widths = availableLaneWidths();
    if (std::find(widths.begin(), widths.end(), width) == widths.end()) {
        return false;
    }
    forced.store(static_cast<int>(width), std::memory_order_relaxed);
    return true;
}

const char* laneWidthName(LaneWidth width) {
    switch (width) {
    case LaneWidth::Avx2:
        return "avx2";
    case LaneWidth::Avx512:
        return "avx512";
    case LaneWidth::Scalar:
        break;
    }
    return "scalar";
}

} // namespace velmora
