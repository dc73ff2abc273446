// velmora-screenshot: shows the main window after a mode "R" run with the
// Drude model on the measurement file of the working directory and saves a
// picture of it. Used by tools/make-screenshot for the README.
#include "ui/Dialogs.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QPixmap>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// The Help window is never shown here, so it needs no web engine.
class BlankHelpBrowser final : public velmora::ui::HelpBrowser {
public:
    QWidget* widget() override { return new QWidget; }
    void navigate(const QUrl&) override {}
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

    bool failed = false;

private:
    static void report(const QString& text) {
        QTextStream(stderr) << "velmora-screenshot: " << text << '\n';
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-screenshot OUTPUT.png (run in the demo folder)\n");
        return 2;
    }
    ReportingDialogs dialogs;
    velmora::ui::VelmoraWindows windows(dialogs, std::make_unique<BlankHelpBrowser>());
    auto& main = windows.Form1;
    windows.Form3.Button1Click();
    main.show();

    main.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(0);
    main.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
    main.ComboBox1Change(0);

    QEventLoop loop;
    QObject::connect(&main, &velmora::ui::TForm1::runEnded, &loop, &QEventLoop::quit);
    main.ACOpenExecute();
    loop.exec();
    main.Timer1Timer();
    // Let the charts lay out their final points before the picture is taken.
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();

    if (dialogs.failed || !main.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "velmora-screenshot: no picture written\n");
        return 1;
    }
    return 0;
}
