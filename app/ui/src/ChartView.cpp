// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartView.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace velmora::ui {

namespace {

constexpr double wheelStepFactor = 1.25;

} // namespace

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::RectangleRubberBand);
    setMouseTracking(true);
}

void ChartView::zoomAround(QPointF anchor, double factor) {
    const QRectF area = chart()->plotArea();
    if (!area.contains(anchor) || factor <= 0.0) {
        return;
    }
    // The plot rectangle that, stretched over the plot area, keeps the
    // anchor where it is.
    const double width = area.width() / factor;
    const double height = area.height() / factor;
    const double left = anchor.x() - (anchor.x() - area.left()) / factor;
    const double top = anchor.y() - (anchor.y() - area.top()) / factor;
    chart()->zoomIn(QRectF(left, top, width, height));
    emit zoomed();
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QChartView::wheelEvent(event);
        return;
    }
    const double factor = std::pow(wheelStepFactor, delta / 120.0);
    zoomAround(chart()->mapFromScene(mapToScene(event->position().toPoint())), factor);
    event->accept();
}

bool ChartView::startsPan(const QMouseEvent* event) {
    return event->button() == Qt::MiddleButton ||
           (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ControlModifier));
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (startsPan(event)) {
        panFrom_ = event->pos();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        // The right button opens the context menu; it never zooms out.
        event->ignore();
        return;
    }
    QChartView::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (panFrom_) {
        const QPoint moved = event->pos() - *panFrom_;
        panFrom_ = event->pos();
        chart()->scroll(-moved.x(), moved.y());
        emit zoomed();
        event->accept();
        return;
    }
    const QPointF inChart = chart()->mapFromScene(mapToScene(event->pos()));
    if (chart()->plotArea().contains(inChart)) {
        emit valueUnderCursor(chart()->mapToValue(inChart));
    } else {
        emit cursorLeft();
    }
    QChartView::mouseMoveEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (panFrom_) {
        panFrom_.reset();
        unsetCursor();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    // A rubber band ends here; a plain click zooms nothing.
    const QRectF area = chart()->plotArea();
    const QPointF before = chart()->mapToValue(area.topLeft());
    QChartView::mouseReleaseEvent(event);
    if (chart()->mapToValue(area.topLeft()) != before) {
        emit zoomed();
    }
}

void ChartView::leaveEvent(QEvent* event) {
    emit cursorLeft();
    QChartView::leaveEvent(event);
}

} // namespace velmora::ui
