// SPDX-License-Identifier: GPL-3.0-or-later
// TForm2, the "Intensity results" window: the normalised intensities against
// the fitted radius, and the photon energies with the peak radii of V and H.
#pragma once

#include <QWidget>

#include <array>

class QLineSeries;
class QPlainTextEdit;

namespace velmora::ui {

class ChartPanel;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    ChartPanel* chart() const { return chart_; }
    // Series1..Series8 of the chart (index 0..7).
    QLineSeries* series(int index) const { return series_.at(index); }
    QPlainTextEdit* memo1() const { return memo1_; }
    QPlainTextEdit* memo2() const { return memo2_; }

private:
    ChartPanel* chart_;
    std::array<QLineSeries*, 8> series_{};
    QPlainTextEdit* memo1_;
    QPlainTextEdit* memo2_;
};

} // namespace velmora::ui
