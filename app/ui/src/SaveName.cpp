// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SaveName.h"

#include <QFileInfo>
#include <QStringList>

namespace velmora::ui {

QString suggestedSaveName(const QString& openDialogFileName, const QString& suffix) {
    const QString name = QFileInfo(openDialogFileName).fileName();
    const QString base = name.size() > 4 ? name.chopped(4) : QString();
    return base + suffix;
}

std::filesystem::path filePath(const QString& fileName) {
    return std::filesystem::path(fileName.toStdU16String());
}

std::vector<std::string> memoLines(const QString& text) {
    std::vector<std::string> lines;
    if (text.isEmpty()) {
        return lines;
    }
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        lines.push_back(line.toStdString());
    }
    return lines;
}

} // namespace velmora::ui
