// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WebHelpBrowser.h"

#include <QString>
#include <QUrl>
#include <QWebEngineView>

namespace velmora::ui {

// The view becomes a child of the Help window, which deletes it.
WebHelpBrowser::WebHelpBrowser() : view_(new QWebEngineView) {}

QWidget* WebHelpBrowser::widget() {
    return view_;
}

void WebHelpBrowser::navigate(const QUrl& url) {
    view_->load(url);
}

void WebHelpBrowser::showPage(const QString& html) {
    view_->setHtml(html);
}

std::unique_ptr<HelpBrowser> makeHelpBrowser() {
    return std::make_unique<WebHelpBrowser>();
}

} // namespace velmora::ui
