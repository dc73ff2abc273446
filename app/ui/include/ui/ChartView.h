// SPDX-License-Identifier: GPL-3.0-or-later
// The view of one chart and what the mouse does in it: a rectangle dragged
// with the left button zooms into it, the wheel zooms around the cursor, a
// drag with the middle button (or with Ctrl and the left button) pans, and
// the chart value under the cursor is reported as it moves.
#pragma once

#include <QChartView>
#include <QPoint>

#include <optional>

namespace velmora::ui {

class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QChart* chart, QWidget* parent = nullptr);

    // Zooms by factor (> 1 in) keeping the chart value at `anchor` in place.
    void zoomAround(QPointF anchor, double factor);

signals:
    // The chart value (x, y) under the cursor; cursorLeft when it is over no
    // plot.
    void valueUnderCursor(QPointF value);
    void cursorLeft();
    // The axes' ranges were changed by zooming or panning.
    void zoomed();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static bool startsPan(const QMouseEvent* event);

    std::optional<QPoint> panFrom_;
};

} // namespace velmora::ui
