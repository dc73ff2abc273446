// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IntensityWindow.h"

#include "ui/ChartPanel.h"
#include "ui/MemoField.h"
#include "ui/SeriesColours.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace velmora::ui {

IntensityWindow::IntensityWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      chart_(new ChartPanel(QStringLiteral("Chart1"),
                            QStringLiteral("Normalised intensities against the fitted radius"))),
      vPeaks_(makeMemo(QStringLiteral("Memo1"))), hPeaks_(makeMemo(QStringLiteral("Memo2"))) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Intensity results"));
    resize(567, 376);

    for (std::size_t i = 0; i < series_.size(); ++i) {
        auto* series = new QLineSeries;
        series->setObjectName(QStringLiteral("Series%1").arg(i + 1));
        series->setName(series->objectName());
        // A wavelength's V and H share its colour; V has filled marks and a
        // solid line, H open marks and a dashed line.
        const Polarisation polarisation = i % 2 == 0 ? Polarisation::V : Polarisation::H;
        shapeForPolarisation(series, polarisation);
        markForPolarisation(series, polarisation);
        series_[i] = series;
        chart_->addSeries(series);
    }
    chart_->setAxisTitles(QStringLiteral("Radius [nm]"),
                          QStringLiteral("Normalised intensity [a.u.]"));

    vPeaks_->setFont(timesFont(13));
    hPeaks_->setFont(timesFont(13));
    auto* peaks = new QGroupBox(QStringLiteral("w(R)"));
    peaks->setObjectName(QStringLiteral("GroupBox1"));
    auto* peaksLayout = new QVBoxLayout(peaks);
    peaksLayout->addWidget(vPeaks_);
    peaksLayout->addWidget(hPeaks_);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(chart_);
    splitter->addWidget(peaks);
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({400, 160});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

} // namespace velmora::ui
