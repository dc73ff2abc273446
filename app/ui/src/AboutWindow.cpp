// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

// The picture lives in the static library's resources, which are linked in
// only when something refers to them.
static void initAboutResources() {
    Q_INIT_RESOURCE(velmora);
}

namespace velmora::ui {

namespace {

QFont pixelFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* makeLabel(const QString& name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setFont(font);
    return label;
}

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      timer_(new QTimer(this)) {
    initAboutResources();
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(450, 257);

    auto* image = new QLabel;
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(QStringLiteral(":/velmora/about.png")));
    image->setFixedSize(177, 204);

    const QString arial = QStringLiteral("Arial");
    auto* name =
        makeLabel(QStringLiteral("Label1"), QStringLiteral("Velmora"), pixelFont(arial, 27, true));
    name->setAlignment(Qt::AlignCenter);
    name->setWordWrap(true);
    auto* edition = makeLabel(QStringLiteral("Label7"), QStringLiteral("DEMO VERSION"),
                              pixelFont(QStringLiteral("Times New Roman"), 16, true));
    edition->setAlignment(Qt::AlignCenter);
    // The desktop's application-workspace grey.
    QPalette editionPalette = edition->palette();
    editionPalette.setColor(QPalette::WindowText, QColor(171, 171, 171));
    edition->setPalette(editionPalette);
    auto* basis = makeLabel(QStringLiteral("Label2"), QStringLiteral("(Based on Mie theory)"),
                            pixelFont(arial, 13, false));
    basis->setAlignment(Qt::AlignCenter);
    auto* version = makeLabel(QStringLiteral("Label8"),
                              QStringLiteral("Version %1").arg(QStringLiteral(VELMORA_VERSION)),
                              pixelFont(arial, 13, false));
    version->setAlignment(Qt::AlignCenter);
    auto* updateCaption = makeLabel(QStringLiteral("Label5"), QStringLiteral("Last Update:"),
                                    pixelFont(arial, 13, false));
    auto* updateDate = makeLabel(QStringLiteral("Label6"), QStringLiteral("25.10.2005"),
                                 pixelFont(arial, 13, false));

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    // Enter, when About has the keyboard, presses OK.
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &AboutWindow::dismiss);

    auto* update = new QHBoxLayout;
    update->addWidget(updateCaption);
    update->addWidget(updateDate);
    update->addStretch(1);
    update->addWidget(ok);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(edition);
    text->addWidget(basis);
    text->addWidget(version);
    text->addStretch(1);
    text->addLayout(update);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(text, 1);

    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(hideAfterMs);
    connect(timer_, &QTimer::timeout, this, &AboutWindow::dismiss);
    timer_->start();

    centreOnScreen(*this);
    show();
}

void AboutWindow::dismiss() {
    hide();
}

void AboutWindow::showOnRequest() {
    timer_->stop();
    show();
    raise();
    activateWindow();
}

// A modal box (a message, the stop question, a file dialog) blocks this
// window: it goes, so that the box is never hidden behind it.
bool AboutWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked) {
        dismiss();
    }
    return QWidget::event(event);
}

} // namespace velmora::ui
