// SPDX-License-Identifier: GPL-3.0-or-later
// A message made fit for a message box: however long its lines (a quoted
// line of a measurement file may have thousands of characters and no space),
// the box stays narrower than the screen and its text is not clipped.
#pragma once

#include <QString>

namespace velmora::ui {

// The text with every line longer than `columns` broken: at its last space
// within the limit, or after `columns` characters where it has none.
QString wrappedLines(const QString& text, int columns);

} // namespace velmora::ui
