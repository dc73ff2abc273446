// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows a run: the start of a fit and the FitResult it ends
// with become drawing calls, each quantity through one table of chart series
// and colour.
#pragma once

#include "fit/FitResult.h"
#include "ui/RunDrawing.h"

namespace velmora::ui {

// The measurement of a run is read: empties the result table's memo, draws
// the measured channels and empties the result series.
void drawMeasurement(RunDrawing& drawing, const FitResult& measurement);

// A run that ended with results: the quantities the mode fitted over time,
// the prediction, the normalised intensities and the tables.
void drawResult(RunDrawing& drawing, const FitResult& result);

} // namespace velmora::ui
