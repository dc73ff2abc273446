// SPDX-License-Identifier: GPL-3.0-or-later
// A memo field of the windows: a scrollable plain-text area the runs fill
// with table lines and the user may edit.
#pragma once

#include <QString>

class QFont;
class QPlainTextEdit;
class QWidget;

namespace velmora::ui {

QPlainTextEdit* makeMemo(const QString& name, QWidget* parent = nullptr);

// Times New Roman at the given pixel size.
QFont timesFont(int pixelSize = 0, bool bold = false);

} // namespace velmora::ui
