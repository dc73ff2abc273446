// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace velmora::ui {

namespace {

const QString recentFilesKey = QStringLiteral("recentFiles");

} // namespace

QStringList RecentFiles::list() const {
    return QSettings().value(recentFilesKey).toStringList();
}

void RecentFiles::remember(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = list();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > capacity) {
        files.removeLast();
    }
    QSettings().setValue(recentFilesKey, files);
}

} // namespace velmora::ui
