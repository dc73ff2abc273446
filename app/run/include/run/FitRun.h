// SPDX-License-Identifier: GPL-3.0-or-later
// One fit run: set-up, reading and drawing of the measurement, the fit of the
// selected mode and the results stage, reported through a RunView.
#pragma once

#include "fit/AvailableCpus.h"
#include "fit/FieldInputs.h"
#include "fit/FitEngine.h"
#include "fit/FitResult.h"
#include "fit/FitSettings.h"
#include "fit/RunError.h"
#include "fit/RunView.h"

namespace velmora {

// Runs one fit of the measurement in dataFile. Throws RunError with the
// user-facing message when the run fails (settings that refusalOf refuses
// before anything is reported); what was reported to the view before the
// failure stays reported. The view is called only from the calling thread.
// The fast engine computes on `threads` threads, the calling one included
// (at least 1; by default one per processor the process may use).
FitResult runFit(const FitSettings& settings, const std::string& dataFile, RunView& view,
                 EngineKind engine = EngineKind::Fast, int threads = availableCpus());

// The window's run: its fields' settings (settingsFromFields, which refuses
// bad ones naming the field) run on its data file.
FitResult runFit(const FieldInputs& inputs, RunView& view, EngineKind engine = EngineKind::Fast);

} // namespace velmora
