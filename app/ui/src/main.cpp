// velmora: the desktop program. Creates the four windows and runs the event
// loop until the main window is closed.
#include "ui/Dialogs.h"
#include "ui/WebHelpBrowser.h"
#include "ui/Windows.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char* argv[]) {
    // The help browser's sandbox cannot start for the root user (as in
    // containers); the document it shows is our own local file.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);

    velmora::ui::QtDialogs dialogs;
    velmora::ui::VelmoraWindows windows(dialogs, std::make_unique<velmora::ui::WebHelpBrowser>());
    QObject::connect(&windows.Form1, &velmora::ui::TForm1::closed, &app, &QApplication::quit);
    windows.Form1.show();
    windows.Form3.raise();
    return QApplication::exec();
}
