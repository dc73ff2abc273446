// SPDX-License-Identifier: GPL-3.0-or-later
// TForm3, the About window: shown over the main window at start, always on
// top, hidden by "OK" or ten seconds after it was created.
#pragma once

#include <QWidget>

namespace velmora::ui {

class TForm3 : public QWidget {
    Q_OBJECT
public:
    static constexpr int hideAfterMs = 10000;

    explicit TForm3(QWidget* parent = nullptr);

    // "OK" and Timer1 both hide the window.
    void Button1Click();
};

} // namespace velmora::ui
