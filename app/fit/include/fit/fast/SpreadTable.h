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
#include "fit/fast/MatchKernel.h"
#include "fit/fast/WorkerPool.h"

#include <span>
#include <vector>

namespace velmora {

class SpreadTable {
public:
    // The entries of radius indices first..last of `radii` and of every
    // sigma in `sigmas`, at the wavelengths lambdas[0..3]. A radius whose
    // grid point faulted has that fault in its entries instead.
    SpreadTable(const Particle& particle, const std::array<double, kWavelengths>& lambdas,
                const GridTable& radii, int first, int last, std::span<const double> sigmas,
                WorkerPool& pool);

    // The entry of radius index first..last, sigma number 0..sigmas - 1 and
    // wavelength number 0..3.
    ModelValue at(int radiusIndex, int sigmaIndex, int k) const {
        const std::size_t e = element(radiusIndex, sigmaIndex, k);
        return {iv_[e], ih_[e], fault_[e]};
    }

    // The entries of one sigma as the scorers read a batch of candidates:
    // element c of each column is radius index radiusIndex + c.
    ModelColumns columns(int radiusIndex, int sigmaIndex) const;

    // The spheres the table evaluated (the nodes of every sigma and the
    // radii without a spread, at each wavelength).
    long long sphereCount() const { return sphereCount_; }

private:
    // Each sigma's and wavelength's entries lie in one column over the
    // radius indices.
    std::size_t element(int radiusIndex, int sigmaIndex, int k) const {
        return (static_cast<std::size_t>(sigmaIndex) * kWavelengths + k) * radiusCount_ +
               static_cast<std::size_t>(radiusIndex - first_);
    }

    int first_;
    std::size_t radiusCount_;
    std::vector<double> iv_;
    std::vector<double> ih_;
    std::vector<FpFault> fault_;
    long long sphereCount_ = 0;
};

} // namespace velmora
