// velmora: the desktop program. Creates the four windows and runs the event
// loop until the main window is closed.
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/Windows.h"

#include <QApplication>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// The help browser's sandbox cannot start for the root user of a POSIX
// system (as in containers); Windows has no such user.
bool runsAsRoot() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    // The document the help browser shows is our own local file.
    if (runsAsRoot()) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);

    velmora::ui::QtDialogs dialogs;
    velmora::ui::VelmoraWindows windows(dialogs, velmora::ui::makeHelpBrowser());
    QObject::connect(&windows.Form1, &velmora::ui::TForm1::closed, &app, &QApplication::quit);
    windows.Form1.show();
    windows.Form3.raise();
    return QApplication::exec();
}
