// SPDX-License-Identifier: GPL-3.0-or-later
// MatchIntensities and polarizationMismatch for a batch of candidates at
// once, several candidates in the lanes of one vector register (LaneWidth.h,
// MatchLanes.h): per candidate the same IEEE operations in the same order.
// No floating-point flag is cleared or tested on the way: a candidate whose
// arithmetic leaves the finite range (every fault does, and a faulted model
// value, stored as 0, divides by zero) is scored again by the one-candidate
// function, which tests the flags step by step and names the fault the run
// reports.
#pragma once

#include "fit/Match.h"
#include "fit/PolarizationRatio.h"

namespace velmora {

// The model values of a batch, one column per wavelength: element j of each
// column belongs to candidate j.
struct ModelColumns {
    std::array<const double*, kWavelengths> iv;
    std::array<const double*, kWavelengths> ih;
    std::array<const FpFault*, kWavelengths> fault;
};

// Where the scores of a batch go, element j for candidate j.
struct ScoreColumns {
    double* mean;
    double* vx;
    FpFault* fault;
};

// For every candidate j < count: MatchIntensities(measured, models of j).
void matchCandidates(const Measured& measured, const ModelColumns& models, int count,
                     const ScoreColumns& out);

struct MismatchColumns {
    double* value;
    FpFault* fault;
};

// For every candidate j < count: polarizationMismatch(measuredRatio, model
// value j).
void mismatchCandidates(double measuredRatio, const double* iv, const double* ih,
                        const FpFault* faults, int count, const MismatchColumns& out);

// Candidate j scored again by MatchIntensities, with its fault.
void matchOneExactly(const Measured& measured, const ModelColumns& models, int j,
                     const ScoreColumns& out);

// Candidate j scored again by polarizationMismatch, with its fault.
void mismatchOneExactly(double measuredRatio, const double* iv, const double* ih,
                        const FpFault* faults, int j, const MismatchColumns& out);

} // namespace velmora
