// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartPanel.h"

#include "ui/ChartView.h"
#include "ui/Dialogs.h"
#include "ui/RoundTicks.h"

#include <QChart>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QLegendMarker>
#include <QLogValueAxis>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QXYSeries>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

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
        // Minor ticks at 2..9 times each power of ten.
        axis->setMinorTickCount(8);
        return axis;
    }
    return new QValueAxis;
}

QFont titleFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setBold(true);
    return font;
}

QString labelFormat(double step) {
    return QStringLiteral("%.%1f").arg(decimalsFor(step));
}

// Ticks every step from anchor, labelled with the step's decimals; touches
// the axis only where something changes, as every change lays the chart out
// anew.
void setTicks(QValueAxis* axis, double anchor, double step, int minorTicks) {
    if (axis->tickType() != QValueAxis::TicksDynamic) {
        axis->setTickType(QValueAxis::TicksDynamic);
    }
    if (axis->tickAnchor() != anchor) {
        axis->setTickAnchor(anchor);
    }
    if (axis->tickInterval() != step) {
        axis->setTickInterval(step);
    }
    const QString format = labelFormat(step);
    if (axis->labelFormat() != format) {
        axis->setLabelFormat(format);
    }
    if (axis->minorTickCount() != minorTicks) {
        axis->setMinorTickCount(minorTicks);
    }
}

// The fewest unlabelled ticks between two labels (a step of 50 has 4, one
// every 10) for which both ends of a range are ticks.
int ticksBetweenLabels(double low, double high, double step) {
    const auto isTick = [](double value, double tick) {
        const double ticks = value / tick;
        return std::abs(ticks - std::round(ticks)) < 1e-6;
    };
    for (const int parts : {1, 2, 5, 10}) {
        if (isTick(low, step / parts) && isTick(high, step / parts)) {
            return parts - 1;
        }
    }
    return 0;
}

// How many labels a tick needs room for: a label's height (y) or its width
// plus a gap (x), in pixels.
constexpr double verticalLabelPitch = 2.0;
constexpr double horizontalLabelGap = 2.5;

// Sets the range and the ticks at multiples of step, in the order that never
// has the axis draw the new range at the old, finer step: labels are made
// for every tick of that moment.
void placeAxis(QValueAxis* axis, double low, double high, double step, int minorTicks) {
    if (step >= axis->tickInterval()) {
        setTicks(axis, 0.0, step, minorTicks);
        axis->setRange(low, high);
    } else {
        axis->setRange(low, high);
        setTicks(axis, 0.0, step, minorTicks);
    }
}

} // namespace

ChartPanel::ChartPanel(const QString& name, const QString& title, AxisScale yScale, QWidget* parent)
    : QWidget(parent), chart_(new QChart), view_(new ChartView(chart_)), title_(new QLabel(title)),
      xAxis_(new QValueAxis), yAxis_(makeValueAxis(yScale)) {
    setObjectName(name);
    chart_->setObjectName(name);
    chart_->legend()->hide();
    chart_->legend()->setAlignment(Qt::AlignRight);
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
    connect(view_, &ChartView::valueUnderCursor, this, &ChartPanel::valueUnderCursor);
    connect(view_, &ChartView::cursorLeft, this, &ChartPanel::cursorLeft);
    connect(view_, &ChartView::zoomed, this, [this] {
        zoomed_ = true;
        applyTicks();
    });
    // A new plot size may leave room for more or fewer labels; the ticks
    // (and, unless zoomed, the rounded range) are placed again once the
    // layout has settled.
    ticksTimer_.setSingleShot(true);
    connect(&ticksTimer_, &QTimer::timeout, this, [this] {
        if (zoomed_) {
            applyTicks();
        } else {
            rescale();
        }
    });
    connect(chart_, &QChart::plotAreaChanged, &ticksTimer_, qOverload<>(&QTimer::start));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title_);
    layout->addWidget(view_, 1);
    applyTicks();
}

void ChartPanel::setAxisTitles(const QString& xTitle, const QString& yTitle) {
    xAxis_->setTitleText(xTitle);
    yAxis_->setTitleText(yTitle);
}

void ChartPanel::fixYRange(double low, double high, double step) {
    if (auto* axis = qobject_cast<QValueAxis*>(yAxis_)) {
        axis->setRange(low, high);
        yFixed_ = true;
        yFixedRange_ = {low, high};
        yMinimumStep_ = step;
        applyTicks();
    }
}

void ChartPanel::setMinimumYStep(double step) {
    yMinimumStep_ = step;
    applyTicks();
}

void ChartPanel::addSeries(QXYSeries* series) {
    chart_->addSeries(series);
    series->attachAxis(xAxis_);
    series->attachAxis(yAxis_);
    connect(series, &QXYSeries::hovered, this, [series](const QPointF& point, bool entered) {
        if (!entered) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(QCursor::pos(), QStringLiteral("%1\n(%2, %3)")
                                               .arg(series->name())
                                               .arg(point.x(), 0, 'g', 5)
                                               .arg(point.y(), 0, 'g', 5));
    });
}

void ChartPanel::rescale() {
    zoomed_ = false;
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
    const double xStep = xTickStep(xLow, xHigh);
    const auto [xRoundLow, xRoundHigh] =
        roundedRange(xLow, xHigh, xToPoints_ ? xStep / 10.0 : xStep);
    placeAxis(static_cast<QValueAxis*>(xAxis_), xRoundLow, xRoundHigh, xStep, 0);
    if (logarithmic) {
        const auto [low, high] = y.empty() ? std::pair{1.0, 10.0} : decadeRange(y.low, y.high);
        yAxis_->setRange(low, high);
    } else if (yFixed_) {
        // Back to the held range, should a zoom have left it.
        yAxis_->setRange(yFixedRange_.first, yFixedRange_.second);
    } else {
        const auto [yLow, yHigh] = paddedRange(y);
        const double yStep = yTickStep(yLow, yHigh);
        const auto [yRoundLow, yRoundHigh] = roundedRange(yLow, yHigh, yStep);
        placeAxis(static_cast<QValueAxis*>(yAxis_), yRoundLow, yRoundHigh, yStep, 0);
    }
    applyTicks();
    if (legendShown()) {
        setLegendShown(true);
    }
}

int ChartPanel::roomForTicks(Qt::Orientation orientation, double extreme, double step) const {
    QRectF area = chart_->plotArea();
    if (area.width() < 10.0 || area.height() < 10.0) {
        // Not laid out yet: the view less the room of the axes' labels.
        area = QRectF(0, 0, std::max(view_->width() - 90, 40), std::max(view_->height() - 70, 40));
    }
    const QFontMetrics metrics(xAxis_->labelsFont());
    if (orientation == Qt::Vertical) {
        return static_cast<int>(area.height() / (verticalLabelPitch * metrics.height()));
    }
    // The widest label of the axis, or a guess before the step is known.
    const QString widest = step > 0.0 ? QString::number(-std::abs(extreme), 'f', decimalsFor(step))
                                      : QStringLiteral("-0000.0");
    const double pitch = metrics.horizontalAdvance(widest) + horizontalLabelGap * metrics.height();
    return static_cast<int>(area.width() / pitch);
}

double ChartPanel::xTickStep(double low, double high) const {
    const double extreme = std::max(std::abs(low), std::abs(high));
    const double guess = roundTickStep(high - low, roomForTicks(Qt::Horizontal, extreme, 0.0));
    return roundTickStep(high - low, roomForTicks(Qt::Horizontal, extreme, guess));
}

double ChartPanel::yTickStep(double low, double high) const {
    return std::max(yMinimumStep_, roundTickStep(high - low, roomForTicks(Qt::Vertical, 0.0, 0.0)));
}

void ChartPanel::applyTicks() {
    auto* x = static_cast<QValueAxis*>(xAxis_);
    const double xStep = xTickStep(x->min(), x->max());
    setTicks(x, 0.0, xStep, xToPoints_ ? ticksBetweenLabels(x->min(), x->max(), xStep) : 0);
    auto* y = qobject_cast<QValueAxis*>(yAxis_);
    if (y == nullptr) {
        return;
    }
    const double yStep = yTickStep(y->min(), y->max());
    // The fixed step's unlabelled ticks stay visible as minor ticks.
    setTicks(y, yFixed_ ? y->min() : 0.0, yStep,
             yFixed_ ? static_cast<int>(std::lround(yStep / yMinimumStep_)) - 1 : 0);
}

bool ChartPanel::legendShown() const {
    return chart_->legend()->isVisible();
}

void ChartPanel::setLegendShown(bool shown) {
    chart_->legend()->setVisible(shown);
    for (QLegendMarker* marker : chart_->legend()->markers()) {
        const auto* series = static_cast<const QXYSeries*>(marker->series());
        marker->setVisible(series->count() > 0);
    }
}

void ChartPanel::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("Save image…")), &QAction::triggered, this,
            &ChartPanel::askAndSaveImage);
    connect(menu.addAction(QStringLiteral("Copy image")), &QAction::triggered, this,
            &ChartPanel::copyImage);
    QAction* legend = menu.addAction(QStringLiteral("Show legend"));
    legend->setCheckable(true);
    legend->setChecked(legendShown());
    connect(legend, &QAction::toggled, this, &ChartPanel::setLegendShown);
    connect(menu.addAction(QStringLiteral("Reset zoom")), &QAction::triggered, this,
            &ChartPanel::rescale);
    menu.exec(event->globalPos());
}

} // namespace velmora::ui
