// SPDX-License-Identifier: GPL-3.0-or-later
// IntensityWindow, the "Intensity results" window: the normalised intensities against
// the fitted radius, and the photon energies with the peak radii of V and H.
#pragma once

#include <QWidget>

#include <array>

class QLineSeries;
class QPlainTextEdit;

namespace velmora::ui {

class ChartPanel;

class IntensityWindow : public QWidget {
    Q_OBJECT
public:
    explicit IntensityWindow(QWidget* parent = nullptr);

    ChartPanel* chart() const { return chart_; }
    // Series1..Series8 of the chart (index 0..7).
    QLineSeries* series(int index) const { return series_.at(index); }
    QPlainTextEdit* vPeaksMemo() const { return vPeaks_; }
    QPlainTextEdit* hPeaksMemo() const { return hPeaks_; }

private:
    ChartPanel* chart_;
    std::array<QLineSeries*, 8> series_{};
    QPlainTextEdit* vPeaks_;
    QPlainTextEdit* hPeaks_;
};

} // namespace velmora::ui
