// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/SpreadTable.h"

#include <algorithm>
#include <cstdint>

namespace velmora {

namespace {

// Tasks of this many items each, so that the pool's hand-out costs little
// against the work.
constexpr int kItemsPerTask = 16;

template <typename Body> void forEachItem(WorkerPool& pool, std::size_t count, Body body) {
    const int tasks = static_cast<int>((count + kItemsPerTask - 1) / kItemsPerTask);
    pool.run(tasks, tasks > 1, [&](int task) {
        const std::size_t begin = static_cast<std::size_t>(task) * kItemsPerTask;
        const std::size_t end = std::min(count, begin + kItemsPerTask);
        for (std::size_t i = begin; i < end; ++i) {
            body(i);
        }
    });
}

struct LatticeNode {
    std::int64_t index;
    double step;
};

// A spreading entry's nodes, first..last of its sigma's lattice.
struct NodeRange {
    std::int64_t first;
    std::int64_t last;
    std::size_t cell;
};

// Appends the nodes that the ranges of one sigma reach, each once, and sets
// the offset of every range's first node among them. Adjacent and
// overlapping ranges share one stretch of nodes.
void appendNodes(std::vector<NodeRange>& ranges, double step, std::vector<LatticeNode>& nodes,
                 std::vector<std::size_t>& offsets) {
    std::sort(ranges.begin(), ranges.end(),
              [](const NodeRange& a, const NodeRange& b) { return a.first < b.first; });
    std::int64_t stretchFirst = 0;
    std::int64_t next = 0; // one past the stretch's last node
    std::size_t stretchOffset = 0;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        const NodeRange& range = ranges[r];
        if (r == 0 || range.first > next) {
            stretchFirst = next = range.first;
            stretchOffset = nodes.size();
        }
        for (; next <= range.last; ++next) {
            nodes.push_back({next, step});
        }
        offsets[range.cell] = stretchOffset + static_cast<std::size_t>(range.first - stretchFirst);
    }
}

} // namespace

SpreadTable::SpreadTable(const Particle& particle, const std::array<double, kWavelengths>& lambdas,
                         const GridTable& radii, int first, int last,
                         std::span<const double> sigmas, WorkerPool& pool)
    : first_(first), radiusCount_(last >= first ? static_cast<std::size_t>(last - first + 1) : 0),
      entries_(radiusCount_ * sigmas.size()) {
    const double factor = sizeFactor(particle);
    std::array<RefractiveIndex, kWavelengths> indices{};
    for (int k = 0; k < kWavelengths; ++k) {
        indices[k] = particleIndex(particle, lambdas[k]);
    }
    const auto radiusOf = [&](std::size_t cell) {
        return radii.point(first + static_cast<int>(cell % radiusCount_));
    };
    const auto sigmaOf = [&](std::size_t cell) { return sigmas[cell / radiusCount_]; };
    const auto spreads = [&](std::size_t cell) {
        return radiusOf(cell).fault == FpFault::None && spreadsSizes(sigmaOf(cell));
    };

    // The quadrature of every entry with a spread.
    const std::size_t cells = entries_.size();
    std::vector<SizeQuadrature> quadratures(cells);
    forEachItem(pool, cells, [&](std::size_t cell) {
        if (spreads(cell)) {
            quadratures[cell] = sizeQuadrature({radiusOf(cell).value, sigmaOf(cell)});
        }
    });

    // The lattice nodes they reach, each sigma's once.
    std::vector<LatticeNode> nodes;
    std::vector<std::size_t> offsets(cells, 0);
    for (std::size_t s = 0; s < sigmas.size(); ++s) {
        std::vector<NodeRange> ranges;
        double step = 0.0;
        for (std::size_t cell = s * radiusCount_; cell < (s + 1) * radiusCount_; ++cell) {
            const SizeQuadrature& q = quadratures[cell];
            if (spreads(cell) && q.fault == FpFault::None) {
                ranges.push_back({q.first, q.first + q.count - 1, cell});
                step = q.step;
            }
        }
        appendNodes(ranges, step, nodes, offsets);
    }

    // Their spheres, wavelength after wavelength.
    const std::size_t nodeCount = nodes.size();
    std::vector<ModelValue> nodeValues(nodeCount * kWavelengths);
    forEachItem(pool, nodeCount, [&](std::size_t n) {
        const double radius = sizeNodeRadius(nodes[n].index, nodes[n].step);
        for (int k = 0; k < kWavelengths; ++k) {
            nodeValues[k * nodeCount + n] =
                sphereIntensities(factor, lambdas[k], radius, indices[k]);
        }
    });

    // The entries: as averagedIntensities forms them.
    forEachItem(pool, cells, [&](std::size_t cell) {
        const GridPoint radius = radiusOf(cell);
        for (int k = 0; k < kWavelengths; ++k) {
            ModelValue& entry = entries_[cell][k];
            if (radius.fault != FpFault::None) {
                entry = {0.0, 0.0, radius.fault};
            } else if (indices[k].fault != FpFault::None || !spreads(cell)) {
                entry = sphereIntensities(factor, lambdas[k], radius.value, indices[k]);
            } else {
                const SizeQuadrature& q = quadratures[cell];
                entry = sumOverNodes(q, std::span(nodeValues)
                                            .subspan(k * nodeCount + offsets[cell],
                                                     static_cast<std::size_t>(q.count)));
            }
        }
    });

    std::size_t single = 0;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        single += radiusOf(cell).fault == FpFault::None && !spreads(cell) ? 1 : 0;
    }
    sphereCount_ = static_cast<long long>((nodeCount + single) * kWavelengths);
}

} // namespace velmora
