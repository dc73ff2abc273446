// SPDX-License-Identifier: GPL-3.0-or-later
// The shape of every search the fits make, stated once: how many steps each
// grid has, and the window of radius indices a time point searches (its first
// position and how far it reaches above the index the previous time point
// accepted). Both engines and the settings check derive their sizes from it.
#pragma once

#include "fit/FitSettings.h"

#include <algorithm>

namespace velmora {

// A window of radius indices: the first time point searches first..width,
// every later one accepted..accepted + width.
struct WindowGeometry {
    int first;
    int width;

    // The most indices one window holds.
    constexpr int slots() const { return width + 1; }
};

// The radius fit of modes R and "G, R (II)".
inline constexpr WindowGeometry kRadiusFitWindow{1, 10};

// Mode "G, R (I)": plasma energy steps 0..20, damping steps 0..100, and the
// radius window.
inline constexpr int kJointPlasmaSteps = 20;
inline constexpr int kJointDampingSteps = 100;
inline constexpr WindowGeometry kJointWindow{0, 20};

// The polarisation pass of mode "G, R (II)": damping steps 1..100 and the
// radius window.
inline constexpr int kPolarizationDampingSteps = 100;
inline constexpr WindowGeometry kPolarizationWindow{1, 20};

// Mode "G, R (III)": damping steps 0..20 of the range of mode "G, R (II)",
// and the radius window. The grid only has to find the basin of the
// least-squares minimum that the refinement then takes.
inline constexpr int kCombinedDampingSteps = 20;
inline constexpr WindowGeometry kCombinedWindow{1, 10};

// The spread of sizes in every mode: steps 0..10 of its range when the
// range is wider than a point, its one value otherwise. Every other
// candidate of a time point is searched at each spread in turn.
inline constexpr int kSigmaSteps = 10;

// The furthest radius index any first window of the mode reaches; the radius
// grid needs at least this many steps, or a first window would try radii
// above Rmax.
constexpr int firstReach(FitMode mode) {
    switch (mode) {
    case FitMode::R:
        return kRadiusFitWindow.width;
    case FitMode::GR1:
        return kJointWindow.width;
    case FitMode::GR2:
        return std::max(kPolarizationWindow.width, kRadiusFitWindow.width);
    case FitMode::GR3:
        return kCombinedWindow.width;
    default:
        return 1;
    }
}

// The furthest any first window of any mode reaches.
inline constexpr int kWidestFirstReach =
    std::max({firstReach(FitMode::R), firstReach(FitMode::GR1), firstReach(FitMode::GR2),
              firstReach(FitMode::GR3)});

static_assert(kWidestFirstReach <= kMaxRadiusSteps, "a first window must fit the radius grid");

} // namespace velmora
