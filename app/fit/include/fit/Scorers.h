// SPDX-License-Identifier: GPL-3.0-or-later
// What the fitting loops ask of a scorer, the part of an engine that values
// grid points and scores candidates: the loops themselves (Fits.h) are the
// same for every engine.
#pragma once

namespace velmora {

// The two numbers a search keeps of its best candidate.
struct CandidateScore {
    double mean; // the concentration factor
    double vx;   // the non-agreement factor in percent
};

// A candidate of the joint search of mode "G, R (I)": its grid indices and
// the grid values at them.
struct JointCandidate {
    int wpIndex;
    int gamIndex;
    int radiusIndex;
    double wp;
    double gam;
    double radius;
};

// The grids of one FitPolarizationRatio pass: radii rmin + r * dR, dampings
// g0 + s * dG, at one wavelength and plasma energy.
struct PolarizationGrid {
    double lambda;
    double wp;
    double rmin;
    double dR;
    int n;
    double g0;
    double dG;
};

// A (radius, damping) pair of FitPolarizationRatio.
struct PolarizationCandidate {
    int radiusIndex;
    int dampingIndex;
    double radius;
    double damping;
};

} // namespace velmora
