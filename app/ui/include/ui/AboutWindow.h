// SPDX-License-Identifier: GPL-3.0-or-later
// AboutWindow, the About window: the program's name and version, shown over
// the main window at start (hidden by "OK" or ten seconds after it was
// created) and from Help -> About. It belongs to the main window, so it stays
// above that window only, and it steps aside for any modal box, which would
// otherwise open behind it.
#pragma once

#include <QWidget>

class QTimer;

namespace velmora::ui {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int hideAfterMs = 10000;

    explicit AboutWindow(QWidget* parent = nullptr);

    // "OK" and Timer1 both hide the window.
    void dismiss();
    // Help -> About: shown with the keyboard, until "OK".
    void showOnRequest();

protected:
    bool event(QEvent* event) override;

private:
    QTimer* timer_;
};

} // namespace velmora::ui
