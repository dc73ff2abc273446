// SPDX-License-Identifier: GPL-3.0-or-later
// StatusBar1: four panels of fixed width (the clock in panel 0, the progress
// bar over panel 1, the wavelength of the polarisation pass in panel 2), a
// note area to their right for what the window tells the user in passing, and
// the count of the run's warnings, which lists them in its tooltip.
#pragma once

#include "ui/ElidedLabel.h"

#include <QStatusBar>
#include <QStringList>

#include <array>

class QLabel;
class QProgressBar;

namespace velmora::ui {

class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    static constexpr std::array<int, 4> panelWidths{70, 100, 120, 30};

    explicit StatusPanels(QWidget* parent = nullptr);

    QLabel* panel(int index) const { return panels_.at(index); }
    // The note: one line, cut to the room it has; the whole text is its
    // tooltip (a long message never widens the window).
    ElidedLabel* note() const { return note_; }
    QLabel* readout() const { return readout_; }
    // "2 warnings": shown while the last run has any, listed in its tooltip.
    QLabel* warnings() const { return warnings_; }
    QProgressBar* progressBar() const { return progress_; }

    // A leading TAB centres the text in its panel.
    void setPanelText(int index, const QString& text);
    void showNote(const QString& text);
    // The chart value under the mouse, at the right end; empty clears it.
    void showReadout(const QString& text);

    void addWarning(const QString& message);
    // A run starts: no warnings.
    void clearWarnings();

    // A fitting pass's bar: placed over panel 1, range 0..maximum, shown.
    void createProgress(int maximum);
    void setProgress(int position);
    // Empties the bar when a run has ended, however it ended.
    void resetProgress();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeProgressBar();

    std::array<QLabel*, 4> panels_{};
    ElidedLabel* note_;
    QLabel* readout_;
    QLabel* warnings_;
    QStringList warningList_;
    QProgressBar* progress_;
};

} // namespace velmora::ui
