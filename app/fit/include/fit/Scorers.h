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
// g0 + s * dG, at one wavelength, plasma energy and spread.
struct PolarizationGrid {
    double lambda;
    double wp;
    double rmin;
    double dR;
    int n;
    double g0;
    double dG;
    double sigma;
};

// A (radius, damping) pair of FitPolarizationRatio.
struct PolarizationCandidate {
    int radiusIndex;
    int dampingIndex;
    double radius;
    double damping;
};

// The grids of mode "G, R (III)" besides the run's radii: dampings
// g0 + g * dG at one plasma energy and spread.
struct CombinedGrid {
    double wp;
    double g0;
    double dG;
    double sigma;
};

// A (radius, damping) pair of mode "G, R (III)".
struct CombinedCandidate {
    int radiusIndex;
    int dampingIndex;
    double radius;
    double damping;
};

// What the search of mode "G, R (III)" keeps of its best candidate.
struct CombinedScore {
    double mean;    // the concentration factor
    double vx;      // the non-agreement factor of the intensities, %
    double measure; // the combined measure it minimises (combinedMatch)
};

} // namespace velmora
