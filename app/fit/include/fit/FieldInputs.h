// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's fields and boxes hold when a run starts, and the
// window's way from them to the run's settings.
#pragma once

#include "fit/Fields.h"
#include "fit/FitSettings.h"

#include <map>
#include <string>

namespace velmora {

struct FieldInputs {
    std::map<Field, std::string> texts; // the text of every field
    int fitMode = -1;    // the mode box's item index (FitMode), -1 when none is selected
    int dielectric = -1; // the model box's item index (Dielectric), -1 when none is selected
    bool refine = false; // the Refine box is ticked
    std::string dataFile = "DemoDat.txt";

    std::string& text(Field field) { return texts[field]; }
    // The field's text; empty for a field not held.
    const std::string& text(Field field) const;

    // The window's default field texts, with no item selected in either box.
    static FieldInputs defaults();
};

// The field that holds a setting (every setting but the model).
Field settingField(Setting setting);

// The settings the fields hold. The fields the selected mode reads are
// parsed in this order: Lambda1..Lambda4, Rmin, Rmax, WpMax, WpMin, GamMax,
// GamMin (decimals), N (integer), then Wp and Gam in mode R, or PolWp,
// PolGamMin and PolGamMax in modes "G, R (II)" and "G, R (III)", then
// MediumIndex, EpsInf, SigmaMin and SigmaMax; then refusalOf checks them.
// Throws FieldError naming the field at the first text that is not a number
// ("'<text>' is not a valid floating point value", "... integer value") or
// value that is refused ("N must be at least 10 ..."), and RunError when no
// dielectric function is chosen for a fit.
FitSettings settingsFromFields(const FieldInputs& inputs);

} // namespace velmora
