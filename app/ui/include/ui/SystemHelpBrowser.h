// SPDX-License-Identifier: GPL-3.0-or-later
// The Help window's browser where Qt has no web engine (Qt built with MinGW
// on Windows): the window names the document and the system's own browser
// shows it.
#pragma once

#include "ui/HelpBrowser.h"

class QLabel;

namespace velmora::ui {

class SystemHelpBrowser final : public HelpBrowser {
public:
    SystemHelpBrowser();

    QWidget* widget() override;
    void navigate(const QUrl& url) override;
    void showPage(const QString& html) override;

private:
    QLabel* label_;
};

} // namespace velmora::ui
