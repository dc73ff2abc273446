// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Save to file" buttons suggest and write.
#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::ui {

// The open dialog's file name without directory and without its last four
// characters (the extension with its dot), empty for names of four
// characters or fewer, followed by the table's suffix.
QString suggestedSaveName(const QString& openDialogFileName, const QString& suffix);

// The file a dialog's name denotes, on every platform: Windows takes the
// name as UTF-16, not in its ANSI code page, which would lose characters.
std::filesystem::path filePath(const QString& fileName);

// A memo's text as table lines; an empty memo has none.
std::vector<std::string> memoLines(const QString& text);

} // namespace velmora::ui
