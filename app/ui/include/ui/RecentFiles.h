// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement files opened lately, newest first, kept from one start of
// the program to the next in the user's settings.
#pragma once

#include <QStringList>

namespace velmora::ui {

class RecentFiles {
public:
    static constexpr int capacity = 8;

    QStringList list() const;
    // Puts the file first, once, dropping the oldest beyond the capacity.
    void remember(const QString& path);
};

} // namespace velmora::ui
