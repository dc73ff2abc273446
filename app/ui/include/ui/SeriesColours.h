// The colours a run names for its points, as the window paints them.
#pragma once

#include "fit/RunView.h"

#include <QColor>

namespace velmora::ui {

QColor toQColor(Colour colour);

} // namespace velmora::ui
