// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SeriesColours.h"

#include <QImage>
#include <QLineSeries>
#include <QPainter>

namespace velmora::ui {

namespace {

// Set on a series of marks: its polarisation, which gives the marks' shape.
const char* const marksProperty = "velmoraMarks";

constexpr double markSize = 5.0;

// The mark stamped at every point of a series of marks: a filled square (V)
// or an open circle (H) in the colour. Drawn at four times its size, so that
// it stays sharp on screens of high pixel density.
QImage markPicture(Polarisation polarisation, const QColor& colour) {
    constexpr int side = static_cast<int>(markSize * 4);
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRectF box(0.0, 0.0, side, side);
    if (polarisation == Polarisation::V) {
        painter.fillRect(box, colour);
        return picture;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    constexpr double border = side / 5.0;
    painter.setPen(QPen(colour, border));
    painter.setBrush(Qt::white);
    painter.drawEllipse(box.adjusted(border / 2, border / 2, -border / 2, -border / 2));
    return picture;
}

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
    }
    return {0, 0, 0};
}

void markForPolarisation(QXYSeries* series, Polarisation polarisation) {
    series->setProperty(marksProperty, static_cast<int>(polarisation));
    series->setMarkerSize(markSize);
    series->setLightMarker(markPicture(polarisation, series->color()));
}

QXYSeries* makeMarkSeries(const QString& name, Polarisation polarisation) {
    auto* series = new QLineSeries;
    series->setObjectName(name);
    series->setName(name);
    series->setPen(QPen(Qt::NoPen));
    markForPolarisation(series, polarisation);
    return series;
}

void shapeForPolarisation(QXYSeries* series, Polarisation polarisation) {
    if (polarisation == Polarisation::V) {
        return;
    }
    QPen pen = series->pen();
    pen.setStyle(Qt::DashLine);
    series->setPen(pen);
}

void paintSeries(QXYSeries* series, Colour colour) {
    // Each change repaints every mark, so only a change is made.
    const QColor painted = toQColor(colour);
    if (series->color() == painted) {
        return;
    }
    series->setColor(painted);
    const QVariant marks = series->property(marksProperty);
    if (marks.isValid()) {
        series->setLightMarker(markPicture(static_cast<Polarisation>(marks.toInt()), painted));
    }
}

} // namespace velmora::ui
