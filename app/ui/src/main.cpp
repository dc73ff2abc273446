// SPDX-License-Identifier: GPL-3.0-or-later
// velmora: the desktop program. Reads its command line (ui/CommandLine.h),
// creates the four windows and runs the event loop until the main window is
// closed. `velmora FILE` opens FILE at once.
#include "ui/CommandLine.h"
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/UnattendedRun.h"
#include "ui/WindowSettings.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QStringList>
#include <QTimer>

#include <iostream>
#include <string>
#include <vector>

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

// The dialogs of a run nobody watches: a failure's message goes to standard
// error instead of a box that would wait for an answer.
class UnattendedDialogs final : public velmora::ui::QtDialogs {
public:
    void error(QWidget*, const QString& text) override {
        std::cerr << text.toStdString() << std::endl;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    // Help, the version and a bad command line need no window.
    const velmora::ui::WindowCommandLine commandLine =
        velmora::ui::parseWindowCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
    if (!commandLine.options) {
        return commandLine.exitStatus;
    }
    const velmora::ui::WindowOptions& options = *commandLine.options;
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

    velmora::ui::QtDialogs personDialogs;
    UnattendedDialogs unattendedDialogs;
    velmora::ui::VelmoraWindows windows(options.quitAfterRun ? unattendedDialogs : personDialogs,
                                        velmora::ui::makeHelpBrowser());
    velmora::ui::MainWindow& window = windows.mainWindow;
    QObject::connect(&window, &velmora::ui::MainWindow::closed, &app, &QApplication::quit);
    // The window's size and place of the last session, if there was one, and
    // its settings, unless the run is unattended: then the command line
    // alone decides.
    window.restoreGeometry(QSettings().value(geometryKey).toByteArray());
    if (!options.quitAfterRun) {
        velmora::ui::restoreWindowSettings(window, QSettings());
    }
    velmora::ui::applyOptions(options, window);
    window.show();
    // About has the keyboard at start: Enter presses its OK, not Go.
    windows.aboutWindow.raise();
    windows.aboutWindow.activateWindow();

    const auto startRun = [&] {
        if (options.file) {
            window.openFile(QString::fromStdString(*options.file));
        } else if (options.quitAfterRun) {
            window.openAndRun();
        }
    };
    // The run starts once the event loop runs, as it would from the menu.
    velmora::ui::UnattendedRun unattended(window, std::cout);
    QTimer::singleShot(0, &window, [&] {
        if (options.quitAfterRun) {
            unattended.start(startRun);
        } else {
            startRun();
        }
    });
    const int status = QApplication::exec();
    QSettings settings;
    settings.setValue(geometryKey, window.saveGeometry());
    if (!options.quitAfterRun) {
        velmora::ui::saveWindowSettings(window, settings);
    }
    return status;
}
