// SPDX-License-Identifier: GPL-3.0-or-later
// The Help window's browser: a web engine view, which shows web archives
// (.mht) natively.
#pragma once

#include "ui/HelpBrowser.h"

class QWebEngineView;

namespace velmora::ui {

class WebHelpBrowser final : public HelpBrowser {
public:
    WebHelpBrowser();

    QWidget* widget() override;
    void navigate(const QUrl& url) override;
    void showPage(const QString& html) override;

private:
    QWebEngineView* view_;
};

} // namespace velmora::ui
