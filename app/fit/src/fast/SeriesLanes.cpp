// SPDX-License-Identifier: GPL-3.0-or-later
#include "lanes/SeriesLanes.h"

#include "fit/fast/LaneWidth.h"

namespace velmora {

void indexAmplitudesInLanes(const quellis::PreparedSphereSize& size,
                            std::span<const quellis::Cx> ms, std::span<quellis::Amplitudes> out,
                            std::span<unsigned char> rerun) {
#if defined(VELMORA_SIMD_LANES)
    const LaneWidth width = selectedLaneWidth();
    if (width == LaneWidth::Scalar) {
        return;
    }
    // Each start in plain double arithmetic, where it may stop early or take
    // another form of its fraction; the rest in the lanes.
    std::vector<IndexStart> starts;
    starts.reserve(ms.size());
    for (const quellis::Cx m : ms) {
        starts.push_back(size.indexStart(m));
    }
    if (width == LaneWidth::Avx512) {
        indexAmplitudesAvx512(size, starts, out, rerun);
    } else {
        indexAmplitudesAvx2(size, starts, out, rerun);
    }
#else
    (void)size, (void)ms, (void)out, (void)rerun;
#endif
}

} // namespace velmora
