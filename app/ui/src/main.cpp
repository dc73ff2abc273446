// SPDX-License-Identifier: GPL-3.0-or-later
// velmora: the desktop program. Creates the four windows and runs the event
// loop until the main window is closed. `velmora FILE` opens FILE at once.
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QStringList>

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

namespace {

const QString geometryKey = QStringLiteral("mainWindowGeometry");

} // namespace

int main(int argc, char* argv[]) {
    // The document the help browser shows is our own local file.
    if (runsAsRoot()) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The help browser's informational dump of its set-up (and its note that
    // the sandbox is off) is no message for the user; warnings still show,
    // and QT_LOGGING_RULES can bring the rest back.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.debug=false\n"
                                                    "qt.webenginecontext.info=false\n"
                                                    "default.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("velmora"));
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);

    velmora::ui::QtDialogs dialogs;
    velmora::ui::VelmoraWindows windows(dialogs, velmora::ui::makeHelpBrowser());
    QObject::connect(&windows.mainWindow, &velmora::ui::MainWindow::closed, &app,
                     &QApplication::quit);
    // The window's size and place of the last session, if there was one.
    windows.mainWindow.restoreGeometry(QSettings().value(geometryKey).toByteArray());
    windows.mainWindow.show();
    windows.aboutWindow.raise();

    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty()) {
        windows.mainWindow.openFile(files.constFirst());
    }
    const int status = QApplication::exec();
    QSettings().setValue(geometryKey, windows.mainWindow.saveGeometry());
    return status;
}
