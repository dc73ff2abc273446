// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the eight channel series of a chart (V and H of wavelengths
// 1..4), as the legend and the tooltips show them: "457,9 nm V".
#pragma once

#include "fit/FieldInputs.h"

#include <QString>

#include <array>

class QXYSeries;

namespace velmora::ui {

// The name of channel c (0..7: V then H of wavelength c / 2 + 1) for the
// wavelength field texts of a run.
QString channelName(const FieldInputs& inputs, int channel);

// Names the eight series in channel order.
void nameChannelSeries(const std::array<QXYSeries*, 8>& series, const FieldInputs& inputs);

} // namespace velmora::ui
