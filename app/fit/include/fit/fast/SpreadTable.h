// SPDX-License-Identifier: GPL-3.0-or-later
// The averaged model values of one particle over a spread of sizes for
// every radius of a range of the run's radius grid, every width sigma of a
// list and the four wavelengths, each bit for bit averagedIntensities of
// its radius, sigma and wavelength, fault included.
//
// The averages of one sigma share their nodes (the size quadrature's lattice
// in ln R), so the table evaluates the sphere of each node a range of radii
// reaches once per wavelength, in parallel, and forms every average as the
// weighted sum of its nodes' values, in the order averagedIntensities sums
// them. Without a spread an entry is the sphere of its radius.
#pragma once

#include "fit/FitSettings.h"
#include "fit/SizeDistribution.h"
#include "fit/fast/GridTable.h"
#include "fit/fast/WorkerPool.h"

#include <span>
#include <vector>

namespace velmora {

class SpreadTable {
public:
    using Values = std::array<ModelValue, kWavelengths>;

    // The entries of radius indices first..last of `radii` and of every
    // sigma in `sigmas`, at the wavelengths lambdas[0..3]. A radius whose
    // grid point faulted has that fault in its entries instead.
    SpreadTable(const Particle& particle, const std::array<double, kWavelengths>& lambdas,
                const GridTable& radii, int first, int last, std::span<const double> sigmas,
                WorkerPool& pool);

    // The entry of radius index first..last and sigma number 0..sigmas - 1.
    const Values& at(int radiusIndex, int sigmaIndex) const {
        return entries_[static_cast<std::size_t>(sigmaIndex) * radiusCount_ +
                        static_cast<std::size_t>(radiusIndex - first_)];
    }

    // The spheres the table evaluated (the nodes of every sigma and the
    // radii without a spread, at each wavelength).
    long long sphereCount() const { return sphereCount_; }

private:
    int first_;
    std::size_t radiusCount_;
    std::vector<Values> entries_;
    long long sphereCount_ = 0;
};

} // namespace velmora
