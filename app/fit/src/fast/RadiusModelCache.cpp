// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/RadiusModelCache.h"

#include "fit/RunModel.h"

#include <bit>
#include <vector>

namespace velmora {

namespace {
// Fewer model evaluations than this run on the calling thread alone.
constexpr std::size_t kSharedEvaluations = 16;
} // namespace

std::size_t RadiusModelCache::KeyHash::operator()(const Key& key) const {
    std::uint64_t h = static_cast<std::uint64_t>(key.index) * 0x9e3779b97f4a7c15u;
    h ^= key.gam + 0x7f4a7c159e3779b9u + (h << 6) + (h >> 2);
    h ^= key.wp + 0x94d049bb133111ebu + (h << 6) + (h >> 2);
    h ^= key.sigma + 0xbf58476d1ce4e5b9u + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h);
}

RadiusModelCache::Key RadiusModelCache::keyOf(int index, double gam, double wp, double sigma) {
    return {index, std::bit_cast<std::uint64_t>(gam), std::bit_cast<std::uint64_t>(wp),
            std::bit_cast<std::uint64_t>(sigma)};
}

void RadiusModelCache::ensure(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                              std::span<const int> indices, double gam, double wp, double sigma) {
    std::vector<std::pair<int, Values*>> missing;
    for (int index : indices) {
        if (radii.faulted(index)) {
            continue;
        }
        const auto [entry, added] = values_.try_emplace(keyOf(index, gam, wp, sigma));
        if (added) {
            missing.emplace_back(index, &entry->second);
        }
    }
    const int evaluations = static_cast<int>(missing.size()) * kWavelengths;
    // One task per radius: its four wavelengths in one batch for the sphere
    // in vacuum, one after another through the run's model otherwise.
    const bool vacuum = usesVacuumSphere(p);
    pool.run(static_cast<int>(missing.size()), evaluations >= static_cast<int>(kSharedEvaluations),
             [&](int task) {
                 const auto& [index, values] = missing[task];
                 const double radius = radii.point(index).value;
                 if (!vacuum) {
                     for (int k = 0; k < kWavelengths; ++k) {
                         (*values)[k] = runModel(p, p.Lambda[k + 1], radius, gam, wp, sigma);
                     }
                     return;
                 }
                 std::array<ModelParams, kWavelengths> params{};
                 for (int k = 0; k < kWavelengths; ++k) {
                     params[k] = {p.Lambda[k + 1], radius, gam, wp, p.W0};
                 }
                 modelIntensitiesBatch(params, *values);
             });
}

const RadiusModelCache::Values& RadiusModelCache::at(int index, double gam, double wp,
                                                     double sigma) const {
    return values_.at(keyOf(index, gam, wp, sigma));
}

} // namespace velmora
