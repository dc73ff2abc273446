// SPDX-License-Identifier: GPL-3.0-or-later
// AboutWindow, the About window: shown over the main window at start, always on
// top, hidden by "OK" or ten seconds after it was created.
#pragma once

#include <QWidget>

namespace velmora::ui {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int hideAfterMs = 10000;

    explicit AboutWindow(QWidget* parent = nullptr);

    // "OK" and Timer1 both hide the window.
    void dismiss();
};

} // namespace velmora::ui
