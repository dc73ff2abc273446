// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-screenshot: pictures of every page of the windows, drawn on the
// platform Qt is started with (tools/make-screenshots uses the offscreen
// one). In the working directory's measurement file it runs each fitting
// mode with the Drude model and saves the main window on each page the mode
// fills, then the "Intensity results", About and Help windows.
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// The HTML part of a web archive (a MIME document whose first part is the
// page, quoted-printable), or nothing.
QString archivedPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray archive = file.readAll().replace("\r\n", "\n");
    const qsizetype part = archive.indexOf("Content-Type: text/html");
    const qsizetype body = archive.indexOf("\n\n", part);
    const qsizetype end = archive.indexOf("\n------=", body);
    if (part < 0 || body < 0 || end < 0) {
        return {};
    }
    const QByteArray encoded = archive.mid(body + 2, end - body - 2).replace("=\n", "");
    QByteArray decoded;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '=' && i + 2 < encoded.size()) {
            decoded.append(static_cast<char>(encoded.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
        } else {
            decoded.append(encoded[i]);
        }
    }
    return QString::fromUtf8(decoded);
}

// A help view without a web engine, which Qt's offscreen platform cannot
// draw: it shows the page of the web archive as far as a text view can.
class TextHelpBrowser final : public velmora::ui::HelpBrowser {
public:
    QWidget* widget() override { return view_; }
    void navigate(const QUrl& url) override { view_->setHtml(archivedPage(url.toLocalFile())); }
    void showPage(const QString& html) override { view_->setHtml(html); }

private:
    QTextBrowser* view_ = new QTextBrowser;
};

// Reports what a person would have been asked, and answers nothing.
class ReportingDialogs final : public velmora::ui::Dialogs {
public:
    void information(QWidget*, const QString& text) override { report(text); }
    void error(QWidget*, const QString& text) override {
        report(text);
        failed = true;
    }
    bool stopConfirmation(QWidget*) override { return false; }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*) override { return {}; }
    std::optional<ImageRequest> imageFile(QWidget*, QSize) override { return std::nullopt; }

    bool failed = false;

private:
    static void report(const QString& text) {
        QTextStream(stderr) << "velmora-screenshot: " << text << '\n';
    }
};

// Lets the windows lay out and draw what they were given.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Pictures {
    QDir dir;
    int written = 0;
    bool failed = false;

    void save(QWidget& window, const QString& name) {
        settle();
        if (window.grab().save(dir.filePath(name))) {
            ++written;
        } else {
            std::fprintf(stderr, "velmora-screenshot: cannot write %s\n", qPrintable(name));
            failed = true;
        }
    }
};

struct Mode {
    int item;
    const char* name;
    std::vector<int> pages; // the pages the mode fills
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-screenshot OUTDIR (run in the demo folder)\n");
        return 2;
    }
    Pictures pictures{QDir(QString::fromLocal8Bit(argv[1]))};
    ReportingDialogs dialogs;
    velmora::ui::VelmoraWindows windows(dialogs, std::make_unique<TextHelpBrowser>());
    auto& main = windows.mainWindow;
    main.show();
    windows.aboutWindow.show();
    pictures.save(windows.aboutWindow, QStringLiteral("about.png"));
    windows.aboutWindow.dismiss();

    auto* pages = main.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    main.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(0);
    const Mode modes[] = {{0, "R", {0, 1, 3}}, {1, "GR1", {0, 2, 3}}, {2, "GR2", {0, 2, 3}}};
    for (const Mode& mode : modes) {
        main.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(mode.item);
        main.onModeChanged(mode.item);
        QEventLoop loop;
        QObject::connect(&main, &velmora::ui::MainWindow::runEnded, &loop, &QEventLoop::quit);
        main.openAndRun();
        loop.exec();
        main.showTime();
        for (const int page : mode.pages) {
            pages->setCurrentIndex(page);
            pictures.save(main, QStringLiteral("main-%1-page%2.png").arg(mode.name).arg(page + 1));
        }
        if (mode.item == 0) {
            main.showIntensityWindow();
            pictures.save(windows.intensityWindow, QStringLiteral("intensity-results.png"));
        }
    }
    main.showHelpWindow();
    pictures.save(windows.helpWindow, QStringLiteral("help.png"));

    if (dialogs.failed || pictures.failed) {
        std::fprintf(stderr, "velmora-screenshot: not every picture was made\n");
        return 1;
    }
    std::printf("velmora-screenshot: %d pictures in %s\n", pictures.written, argv[1]);
    return 0;
}
