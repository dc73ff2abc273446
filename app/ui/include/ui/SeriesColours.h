// SPDX-License-Identifier: GPL-3.0-or-later
// The colours a run names for its points, as the window paints them. The two
// polarisations of a wavelength share its colour and differ in shape: V as
// filled marks or solid lines, H as open marks or dashed lines.
#pragma once

#include "ui/RunDrawing.h"

#include <QColor>
#include <QString>

class QXYSeries;

namespace velmora::ui {

QColor toQColor(Colour colour);

enum class Polarisation { V, H };

// A series of measured points: a mark at each point (a filled square for V,
// an open circle for H) and no line between them. The marks are one picture
// stamped at every point, so the chart keeps no item per point.
QXYSeries* makeMarkSeries(const QString& name, Polarisation polarisation);

// Marks every point of the series as its polarisation's (a filled square
// for V, an open circle for H), in the series' colour.
void markForPolarisation(QXYSeries* series, Polarisation polarisation);

// Gives a new line series the shape of its polarisation.
void shapeForPolarisation(QXYSeries* series, Polarisation polarisation);

// Paints the series in the colour, keeping its shape.
void paintSeries(QXYSeries* series, Colour colour);

} // namespace velmora::ui
