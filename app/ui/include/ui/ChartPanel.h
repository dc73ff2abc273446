// One chart of the windows: a left-aligned bold title above a two-dimensional
// chart with a white background, no legend, titled axes and series that keep
// their axes fitted to the points they hold.
#pragma once

#include <QWidget>

class QAbstractAxis;
class QChart;
class QChartView;
class QLabel;
class QXYSeries;

namespace velmora::ui {

enum class AxisScale { Linear, Logarithmic };

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(const QString& name, const QString& title, AxisScale yScale = AxisScale::Linear,
               QWidget* parent = nullptr);

    QChart* chart() const { return chart_; }
    QLabel* titleLabel() const { return title_; }
    QAbstractAxis* xAxis() const { return xAxis_; }
    QAbstractAxis* yAxis() const { return yAxis_; }

    void setAxisTitles(const QString& xTitle, const QString& yTitle);
    // Holds the value axis at [low, high] with ticks every step.
    void fixYRange(double low, double high, double step);

    // Takes ownership of the series and attaches it to both axes.
    void addSeries(QXYSeries* series);

    // Fits the axes to the points of every series.
    void rescale();

private:
    QChart* chart_;
    QChartView* view_;
    QLabel* title_;
    QAbstractAxis* xAxis_;
    QAbstractAxis* yAxis_;
    bool yFixed_ = false;
};

} // namespace velmora::ui
