// MatchIntensities and polarizationMismatch for a batch of candidates at
// once: per candidate the same IEEE operations in the same order, written as
// straight loops over columns so that the compiler can vectorise them. A
// candidate whose arithmetic leaves the finite range (every fault does, and
// a faulted model value, stored as 0, divides by zero) is scored again by
// the one-candidate function, which names the fault the run reports.
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

} // namespace velmora
