// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SystemHelpBrowser.h"

#include <QDesktopServices>
#include <QLabel>
#include <QString>
#include <QUrl>

namespace velmora::ui {

// The label becomes a child of the Help window, which deletes it.
SystemHelpBrowser::SystemHelpBrowser() : label_(new QLabel) {
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    label_->setOpenExternalLinks(true);
}

QWidget* SystemHelpBrowser::widget() {
    return label_;
}

void SystemHelpBrowser::navigate(const QUrl& url) {
    label_->setText(QStringLiteral("The help document opens in the system's web browser: "
                                   "<a href=\"%1\">%2</a>")
                        .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
                             url.toLocalFile().toHtmlEscaped()));
    QDesktopServices::openUrl(url);
}

// A page of the program's own (the help document was not found) needs no
// browser: the label shows it.
void SystemHelpBrowser::showPage(const QString& html) {
    label_->setText(html);
}

std::unique_ptr<HelpBrowser> makeHelpBrowser() {
    return std::make_unique<SystemHelpBrowser>();
}

} // namespace velmora::ui
