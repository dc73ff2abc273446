#include "ui/HelpDemo.h"

#include <QDir>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::ui {

TForm4::TForm4(std::unique_ptr<HelpBrowser> browser, QWidget* parent)
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

QUrl TForm4::helpDocumentUrl() {
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("HelpDemo.mht")));
}

void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    browser_->navigate(helpDocumentUrl());
}

} // namespace velmora::ui
