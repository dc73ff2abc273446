// SPDX-License-Identifier: GPL-3.0-or-later
// What a run reads from the main window.
#pragma once

#include "fit/Fields.h"

#include <array>
#include <string>

namespace velmora {

// What a run reads from the main window, snapshotted when it starts.
struct RunInputs {
    // edit[k] is the text of the field Edit<k> (edit[0] unused); read and
    // write it by name with text().
    std::array<std::string, kFieldSlots> edit{};
    int fitMode = -1;    // ComboBox1 item index (FitMode), -1 when none is selected
    int dielectric = -1; // ComboBox2 item index (Dielectric), -1 when none is selected
    std::string dataFile = "DemoDat.txt";

    std::string& text(Field field) { return edit[static_cast<int>(field)]; }
    const std::string& text(Field field) const { return edit[static_cast<int>(field)]; }

    // The window's default field texts, with no item selected in either box.
    static RunInputs defaults();
};

} // namespace velmora
