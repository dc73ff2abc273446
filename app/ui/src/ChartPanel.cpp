#include "ui/ChartPanel.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLogValueAxis>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QXYSeries>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::ui {

namespace {

struct Bounds {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void include(double value) {
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    bool empty() const { return low > high; }
};

// A range that shows a single value or an empty series sensibly.
std::pair<double, double> paddedRange(const Bounds& bounds) {
    if (bounds.empty()) {
        return {0.0, 1.0};
    }
    if (bounds.low == bounds.high) {
        const double margin = bounds.low == 0.0 ? 1.0 : std::abs(bounds.low) * 0.05;
        return {bounds.low - margin, bounds.high + margin};
    }
    return {bounds.low, bounds.high};
}

QAbstractAxis* makeValueAxis(AxisScale scale) {
    if (scale == AxisScale::Logarithmic) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10.0);
        axis->setLabelFormat(QStringLiteral("%g"));
        return axis;
    }
    return new QValueAxis;
}

QFont titleFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setBold(true);
    return font;
}

} // namespace

ChartPanel::ChartPanel(const QString& name, const QString& title, AxisScale yScale, QWidget* parent)
    : QWidget(parent), chart_(new QChart), view_(new QChartView(chart_)), title_(new QLabel(title)),
      xAxis_(new QValueAxis), yAxis_(makeValueAxis(yScale)) {
    setObjectName(name);
    chart_->setObjectName(name);
    chart_->legend()->hide();
    chart_->setBackgroundBrush(Qt::white);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    chart_->addAxis(yAxis_, Qt::AlignLeft);

    title_->setObjectName(QStringLiteral("Title"));
    title_->setFont(titleFont());
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title_->setAutoFillBackground(true);
    QPalette palette = title_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    title_->setPalette(palette);
    title_->setContentsMargins(6, 2, 6, 0);

    view_->setRenderHint(QPainter::Antialiasing);
    view_->setBackgroundBrush(Qt::white);
    view_->setMinimumSize(60, 60);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title_);
    layout->addWidget(view_, 1);
}

void ChartPanel::setAxisTitles(const QString& xTitle, const QString& yTitle) {
    xAxis_->setTitleText(xTitle);
    yAxis_->setTitleText(yTitle);
}

void ChartPanel::fixYRange(double low, double high, double step) {
    if (auto* axis = qobject_cast<QValueAxis*>(yAxis_)) {
        axis->setRange(low, high);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(low);
        axis->setTickInterval(step);
        yFixed_ = true;
    }
}

void ChartPanel::addSeries(QXYSeries* series) {
    chart_->addSeries(series);
    series->attachAxis(xAxis_);
    series->attachAxis(yAxis_);
}

void ChartPanel::rescale() {
    const bool logarithmic = qobject_cast<QLogValueAxis*>(yAxis_) != nullptr;
    Bounds x;
    Bounds y;
    for (auto* abstractSeries : chart_->series()) {
        const auto* series = static_cast<QXYSeries*>(abstractSeries);
        for (const QPointF& point : series->points()) {
            x.include(point.x());
            // A logarithmic axis can show positive values only.
            if (!logarithmic || point.y() > 0.0) {
                y.include(point.y());
            }
        }
    }
    const auto [xLow, xHigh] = paddedRange(x);
    xAxis_->setRange(xLow, xHigh);
    if (yFixed_) {
        return;
    }
    if (logarithmic) {
        const double low = y.empty() ? 1.0 : y.low;
        const double high = y.empty() ? 10.0 : y.high;
        yAxis_->setRange(low == high ? low / 2.0 : low, low == high ? high * 2.0 : high);
        return;
    }
    const auto [yLow, yHigh] = paddedRange(y);
    yAxis_->setRange(yLow, yHigh);
}

} // namespace velmora::ui
