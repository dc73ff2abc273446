// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::ui {

HelpWindow::HelpWindow(std::unique_ptr<HelpBrowser> browser, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(std::move(browser)) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Help"));
    resize(357, 389);

    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    QWidget* view = browser_->widget();
    view->setObjectName(QStringLiteral("WebBrowser1"));
    panelLayout->addWidget(view);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
}

QUrl HelpWindow::helpDocumentUrl() {
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(
        QString::fromUtf8(kHelpDocumentName.data(), qsizetype(kHelpDocumentName.size()))));
}

QString HelpWindow::missingDocumentPage(const QStringList& placesLooked) {
    QString page =
        QStringLiteral("<html><body><h3>Help</h3><p>The help document %1 was not "
                       "found. It was looked for in these places:</p><ul>")
            .arg(QString::fromUtf8(kHelpDocumentName.data(), qsizetype(kHelpDocumentName.size())));
    for (const QString& place : placesLooked) {
        page += QStringLiteral("<li>%1</li>").arg(place.toHtmlEscaped());
    }
    return page + QStringLiteral("</ul></body></html>");
}

void HelpWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const QUrl here = helpDocumentUrl();
    if (QFileInfo(here.toLocalFile()).isFile()) {
        browser_->navigate(here);
        return;
    }
    const DataFileLookup lookup = lookup_();
    if (lookup.found) {
        browser_->navigate(QUrl::fromLocalFile(QString::fromStdString(lookup.found->string())));
        return;
    }
    QStringList places{here.toLocalFile()};
    for (const auto& candidate : lookup.candidates) {
        places.append(QString::fromStdString(candidate.string()));
    }
    places.removeDuplicates();
    browser_->showPage(missingDocumentPage(places));
}

} // namespace velmora::ui
