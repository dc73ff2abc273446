// velmora: the desktop program. Creates the four windows and runs the event
// loop until the main window is closed. `velmora FILE` opens FILE at once.
#include "ui/Dialogs.h"
#include "ui/WebHelpBrowser.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QStringList>

#include <unistd.h>

namespace {

const QString geometryKey = QStringLiteral("mainWindowGeometry");

} // namespace

int main(int argc, char* argv[]) {
    // The help browser's sandbox cannot start for the root user (as in
    // containers); the document it shows is our own local file.
    if (geteuid() == 0) {
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
    velmora::ui::VelmoraWindows windows(dialogs, std::make_unique<velmora::ui::WebHelpBrowser>());
    QObject::connect(&windows.Form1, &velmora::ui::TForm1::closed, &app, &QApplication::quit);
    // The window's size and place of the last session, if there was one.
    windows.Form1.restoreGeometry(QSettings().value(geometryKey).toByteArray());
    windows.Form1.show();
    windows.Form3.raise();

    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty()) {
        windows.Form1.openFile(files.constFirst());
    }
    const int status = QApplication::exec();
    QSettings().setValue(geometryKey, windows.Form1.saveGeometry());
    return status;
}
