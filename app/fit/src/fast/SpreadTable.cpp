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
    double logRadius() const { return static_cast<double>(index) * step; }
};

// A spreading entry's nodes, first..last of its sigma's lattice.
struct NodeRange {
    std::int64_t first;
    std::int64_t last;
    std::size_t cell;
};

// Appends the nodes that the ranges of one sigma reach, each once, and sets
// the slot of every range's first node among them. Adjacent and
// overlapping ranges share one stretch of slots.
void appendSlots(std::vector<NodeRange>& ranges, double step, std::vector<LatticeNode>& slots,
                 std::vector<std::size_t>& firstSlot) {
    std::sort(ranges.begin(), ranges.end(),
              [](const NodeRange& a, const NodeRange& b) { return a.first < b.first; });
    std::int64_t stretchFirst = 0;
    std::int64_t next = 0; // one past the stretch's last node
    std::size_t stretchSlot = 0;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        const NodeRange& range = ranges[r];
        if (r == 0 || range.first > next) {
            stretchFirst = next = range.first;
            stretchSlot = slots.size();
        }
        for (; next <= range.last; ++next) {
            slots.push_back({next, step});
        }
        firstSlot[range.cell] = stretchSlot + static_cast<std::size_t>(range.first - stretchFirst);
    }
}

// The distinct nodes of the slots: a node of a coarser lattice is also one
// of every finer one, at the same ln R exactly. Sets each slot's node.
std::vector<LatticeNode> distinctNodes(const std::vector<LatticeNode>& slots,
                                       std::vector<std::size_t>& nodeOfSlot) {
    std::vector<std::size_t> order(slots.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return slots[a].logRadius() < slots[b].logRadius();
    });
    std::vector<LatticeNode> nodes;
    nodeOfSlot.resize(slots.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LatticeNode& slot = slots[order[i]];
        if (nodes.empty() || nodes.back().logRadius() != slot.logRadius()) {
            nodes.push_back(slot);
        }
        nodeOfSlot[order[i]] = nodes.size() - 1;
    }
    return nodes;
}

} // namespace

SpreadTable::SpreadTable(const Particle& particle, const std::array<double, kWavelengths>& lambdas,
                         const GridTable& radii, int first, int last,
                         std::span<const double> sigmas, WorkerPool& pool)
    : first_(first), radiusCount_(last >= first ? static_cast<std::size_t>(last - first + 1) : 0),
      iv_(radiusCount_ * sigmas.size() * kWavelengths), ih_(iv_.size()), fault_(iv_.size()) {
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
    const std::size_t cells = radiusCount_ * sigmas.size();
    std::vector<SizeQuadrature> quadratures(cells);
    forEachItem(pool, cells, [&](std::size_t cell) {
        if (spreads(cell)) {
            quadratures[cell] = sizeQuadrature({radiusOf(cell).value, sigmaOf(cell)});
        }
    });

    // The lattice nodes they reach, each once.
    std::vector<LatticeNode> slots;
    std::vector<std::size_t> firstSlot(cells, 0);
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
        appendSlots(ranges, step, slots, firstSlot);
    }
    std::vector<std::size_t> nodeOfSlot;
    const std::vector<LatticeNode> nodes = distinctNodes(slots, nodeOfSlot);

    // Their spheres, wavelength after wavelength, and again in each sigma's
    // slots, where the nodes of every average lie in a row.
    const std::size_t nodeCount = nodes.size();
    std::vector<ModelValue> nodeValues(nodeCount * kWavelengths);
    forEachItem(pool, nodeCount, [&](std::size_t n) {
        const double radius = sizeNodeRadius(nodes[n].index, nodes[n].step);
        for (int k = 0; k < kWavelengths; ++k) {
            nodeValues[k * nodeCount + n] =
                sphereIntensities(factor, lambdas[k], radius, indices[k]);
        }
    });
    const std::size_t slotCount = slots.size();
    std::vector<ModelValue> slotValues(slotCount * kWavelengths);
    for (int k = 0; k < kWavelengths; ++k) {
        for (std::size_t slot = 0; slot < slotCount; ++slot) {
            slotValues[k * slotCount + slot] = nodeValues[k * nodeCount + nodeOfSlot[slot]];
        }
    }

    // The entries: as averagedIntensities forms them.
    forEachItem(pool, cells, [&](std::size_t cell) {
        const GridPoint radius = radiusOf(cell);
        std::array<ModelValue, kWavelengths> entries{};
        if (radius.fault == FpFault::None && spreads(cell)) {
            const SizeQuadrature& q = quadratures[cell];
            std::array<const ModelValue*, kWavelengths> columns{};
            for (int k = 0; k < kWavelengths; ++k) {
                columns[k] = slotValues.data() + k * slotCount + firstSlot[cell];
            }
            entries = sumOverNodes(q, columns, static_cast<std::size_t>(q.count));
        }
        for (int k = 0; k < kWavelengths; ++k) {
            if (radius.fault != FpFault::None) {
                entries[k] = {0.0, 0.0, radius.fault};
            } else if (indices[k].fault != FpFault::None || !spreads(cell)) {
                entries[k] = sphereIntensities(factor, lambdas[k], radius.value, indices[k]);
            }
            const std::size_t e = element(first + static_cast<int>(cell % radiusCount_),
                                          static_cast<int>(cell / radiusCount_), k);
            iv_[e] = entries[k].iv;
            ih_[e] = entries[k].ih;
            fault_[e] = entries[k].fault;
        }
    });

    std::size_t single = 0;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        single += radiusOf(cell).fault == FpFault::None && !spreads(cell) ? 1 : 0;
    }
    sphereCount_ = static_cast<long long>((nodeCount + single) * kWavelengths);
}

ModelColumns SpreadTable::columns(int radiusIndex, int sigmaIndex) const {
    ModelColumns c{};
    for (int k = 0; k < kWavelengths; ++k) {
        const std::size_t e = element(radiusIndex, sigmaIndex, k);
        c.iv[k] = iv_.data() + e;
        c.ih[k] = ih_.data() + e;
        c.fault[k] = fault_.data() + e;
    }
    return c;
}

} // namespace velmora
