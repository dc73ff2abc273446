// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageText.h"

#include <QStringList>

namespace velmora::ui {

namespace {

QStringList wrappedLine(QStringView line, int columns) {
    QStringList pieces;
    while (line.size() > columns) {
        qsizetype cut = line.first(columns + 1).lastIndexOf(QLatin1Char(' '));
        if (cut <= 0) {
            pieces.append(line.first(columns).toString());
            line = line.sliced(columns);
            continue;
        }
        pieces.append(line.first(cut).toString());
        line = line.sliced(cut + 1);
    }
    pieces.append(line.toString());
    return pieces;
}

} // namespace

QString wrappedLines(const QString& text, int columns) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        lines.append(wrappedLine(line, columns));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace velmora::ui
