// SPDX-License-Identifier: GPL-3.0-or-later
// Model values on the run's radius grid (Rmin + index * dR) at the four
// wavelengths, kept for the whole run and keyed by the radius index and the
// exact damping, plasma energy and spread: Model and the radius searches of
// modes "R", "G, R (II)" and "G, R (III)" share them, and equal dampings of
// different time points collapse into one entry. The averages over a
// spread of sizes, and the particle in a medium, come from a SpreadTable
// that fills the entries of every spread of the run at once.
#pragma once

#include "fit/Match.h"
#include "fit/RunState.h"
#include "fit/fast/GridTable.h"
#include "fit/fast/WorkerPool.h"

#include <cstdint>
#include <span>
#include <unordered_map>

namespace velmora {

class RadiusModelCache {
public:
    using Values = std::array<ModelValue, kWavelengths>;

    // Computes the entries of the radius indices not held yet for (gam, wp,
    // sigma), in parallel; radii whose grid point faulted are left out.
    // Never throws a fault: each value keeps its own.
    void ensure(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                std::span<const int> indices, double gam, double wp, double sigma);

    // An entry that ensure has computed.
    const Values& at(int index, double gam, double wp, double sigma) const;

private:
    struct Key {
        int index;
        std::uint64_t gam;
        std::uint64_t wp;
        std::uint64_t sigma;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static Key keyOf(int index, double gam, double wp, double sigma);

    // ensure for a model other than the sphere in vacuum: one SpreadTable
    // over the missing radii's range, a window's width beyond it, and every
    // spread of the run (and sigma), whose entries it fills wherever they
    // are missing.
    void ensureFromSpreadTable(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                               std::span<const int> indices, double gam, double wp, double sigma);

    std::unordered_map<Key, Values, KeyHash> values_;
};

} // namespace velmora
