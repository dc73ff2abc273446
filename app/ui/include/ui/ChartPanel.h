// SPDX-License-Identifier: GPL-3.0-or-later
// One chart of the windows: a left-aligned bold title above a two-dimensional
// chart with a white background, titled axes, ticks at round numbers with
// labels that fit, and series that keep their axes fitted to their points.
// Its context menu saves or copies the chart as a picture, shows a legend
// and resets the zoom; the view zooms and pans (ChartView).
#pragma once

#include <QTimer>
#include <QWidget>

#include <utility>

class QAbstractAxis;
class QChart;
class QLabel;
class QPainter;
class QXYSeries;

namespace velmora::ui {

class ChartView;
class Dialogs;

enum class AxisScale { Linear, Logarithmic };

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(const QString& name, const QString& title, AxisScale yScale = AxisScale::Linear,
               QWidget* parent = nullptr);

    QChart* chart() const { return chart_; }
    ChartView* view() const { return view_; }
    QLabel* titleLabel() const { return title_; }
    QAbstractAxis* xAxis() const { return xAxis_; }
    QAbstractAxis* yAxis() const { return yAxis_; }

    void setAxisTitles(const QString& xTitle, const QString& yTitle);
    // Holds the value axis at [low, high] with ticks at multiples of step;
    // where there is no room to label each, every second (fifth, ...) tick
    // is labelled and the others are drawn as minor ticks.
    void fixYRange(double low, double high, double step);
    // The value axis never ticks finer than step.
    void setMinimumYStep(double step);
    // The x axis spans the points' range (a grid such as the prediction's
    // radii) widened only to a tenth of the label step, with unlabelled
    // ticks at its ends, so that the room the plot has (less with the
    // legend shown) changes the labels but not the range.
    void holdXToPoints() { xToPoints_ = true; }

    // Takes ownership of the series and attaches it to both axes; hovering
    // over it shows its name.
    void addSeries(QXYSeries* series);

    // Fits the axes to the points of every series, widened to round numbers;
    // this also undoes any zoom.
    void rescale();

    // The dialogs of the context menu's "Save image…".
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

    bool legendShown() const;
    // The legend names the series that hold points.
    void setLegendShown(bool shown);

    // The title and chart drawn at the given size.
    QImage image(QSize size);
    // Writes the picture as PNG, or as SVG when the name ends in ".svg";
    // throws std::runtime_error saying why when it cannot be written.
    void saveImage(const QString& path, QSize size);

    // The context menu's actions.
    void askAndSaveImage();
    void copyImage();

signals:
    // The chart value (x, y) under the mouse; cursorLeft when it leaves.
    void valueUnderCursor(QPointF value);
    void cursorLeft();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void paint(QPainter& painter, QSize size);
    void applyTicks();
    // How many tick intervals the axis can label; extreme is the largest
    // magnitude on it (x only), step 0 means not known yet.
    int roomForTicks(Qt::Orientation orientation, double extreme, double step) const;
    // The round steps of the axes for a range.
    double xTickStep(double low, double high) const;
    double yTickStep(double low, double high) const;

    QChart* chart_;
    ChartView* view_;
    QLabel* title_;
    QAbstractAxis* xAxis_;
    QAbstractAxis* yAxis_;
    Dialogs* dialogs_ = nullptr;
    QTimer ticksTimer_;
    bool xToPoints_ = false;
    bool yFixed_ = false;
    std::pair<double, double> yFixedRange_{0.0, 1.0};
    bool zoomed_ = false; // zoomed or panned since the last rescale
    double yMinimumStep_ = 0.0;
};

} // namespace velmora::ui
