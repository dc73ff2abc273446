// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/RadiusModelCache.h"

#include "fit/RunModel.h"
#include "fit/SearchGeometry.h"
#include "fit/fast/SpreadTable.h"

#include <algorithm>
#include <bit>
#include <climits>
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
    if (!isVacuumSphere(p, sigma)) {
        ensureFromSpreadTable(p, pool, radii, indices, gam, wp, sigma);
        return;
    }
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
    // One task per radius: its four wavelengths in one batch.
    pool.run(static_cast<int>(missing.size()), evaluations >= static_cast<int>(kSharedEvaluations),
             [&](int task) {
                 const auto& [index, values] = missing[task];
                 std::array<ModelParams, kWavelengths> params{};
                 for (int k = 0; k < kWavelengths; ++k) {
                     params[k] = {p.Lambda[k + 1], radii.point(index).value, gam, wp, p.W0};
                 }
                 modelIntensitiesBatch(params, *values);
             });
}

void RadiusModelCache::ensureFromSpreadTable(const RunParameters& p, WorkerPool& pool,
                                             const GridTable& radii, std::span<const int> indices,
                                             double gam, double wp, double sigma) {
    int lo = INT_MAX;
    int hi = INT_MIN;
    for (int index : indices) {
        if (!radii.faulted(index) && !values_.contains(keyOf(index, gam, wp, sigma))) {
            lo = std::min(lo, index);
            hi = std::max(hi, index);
        }
    }
    if (lo > hi) {
        return;
    }
    // The next windows of a radius search reach past the last: they share
    // nearly all their nodes with the range, so they cost little now.
    hi = std::min(hi + kRadiusFitWindow.width, radii.lastIndex());
    std::vector<double> sigmas;
    for (double s : p.Sigma) {
        if (!isVacuumSphere(p, s)) {
            sigmas.push_back(s);
        }
    }
    const auto sameBits = [&](double s) {
        return std::bit_cast<std::uint64_t>(s) == std::bit_cast<std::uint64_t>(sigma);
    };
    if (std::none_of(sigmas.begin(), sigmas.end(), sameBits)) {
        sigmas.push_back(sigma);
    }
    std::array<double, kWavelengths> lambdas{};
    for (int k = 0; k < kWavelengths; ++k) {
        lambdas[k] = p.Lambda[k + 1];
    }
    const SpreadTable table(runParticle(p, gam, wp), lambdas, radii, lo, hi, sigmas, pool);
    for (std::size_t s = 0; s < sigmas.size(); ++s) {
        for (int index = lo; index <= hi; ++index) {
            if (radii.faulted(index)) {
                continue;
            }
            const auto [entry, added] = values_.try_emplace(keyOf(index, gam, wp, sigmas[s]));
            if (added) {
                for (int k = 0; k < kWavelengths; ++k) {
                    entry->second[k] = table.at(index, static_cast<int>(s), k);
                }
            }
        }
    }
}

const RadiusModelCache::Values& RadiusModelCache::at(int index, double gam, double wp,
                                                     double sigma) const {
    return values_.at(keyOf(index, gam, wp, sigma));
}

} // namespace velmora
