// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SeriesColours.h"

#include <QScatterSeries>

namespace velmora::ui {

namespace {

// Set on the series whose marks are drawn open (H of a scatter series).
const char* const openMarksProperty = "velmoraOpenMarks";

} // namespace

QColor toQColor(Colour colour) {
    switch (colour) {
    case Colour::Blue:
        return {0, 0, 255};
    case Colour::Green:
        return {0, 128, 0};
    case Colour::Yellow:
        return {255, 255, 0};
    case Colour::Red:
        return {255, 0, 0};
    case Colour::Aqua:
        return {0, 255, 255};
    case Colour::Teal:
        return {0, 128, 128};
    case Colour::Lime:
        return {0, 255, 0};
    case Colour::Purple:
        return {128, 0, 128};
    }
    return {0, 0, 0};
}

void shapeForPolarisation(QXYSeries* series, Polarisation polarisation) {
    if (polarisation == Polarisation::V) {
        return;
    }
    if (auto* scatter = qobject_cast<QScatterSeries*>(series)) {
        scatter->setProperty(openMarksProperty, true);
        scatter->setColor(Qt::white);
        scatter->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        return;
    }
    QPen pen = series->pen();
    pen.setStyle(Qt::DashLine);
    series->setPen(pen);
}

void paintSeries(QXYSeries* series, Colour colour) {
    // Each change repaints every mark, so only a change is made.
    const QColor painted = toQColor(colour);
    if (auto* scatter = qobject_cast<QScatterSeries*>(series)) {
        if (!scatter->property(openMarksProperty).toBool() && scatter->color() != painted) {
            scatter->setColor(painted);
        }
        if (scatter->borderColor() != painted) {
            scatter->setBorderColor(painted);
        }
        return;
    }
    if (series->color() != painted) {
        series->setColor(painted);
    }
}

} // namespace velmora::ui
