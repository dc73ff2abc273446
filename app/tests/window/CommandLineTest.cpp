// SPDX-License-Identifier: GPL-3.0-or-later
// velmora's command line, through the program itself: help, the version
// and a bad option are answered without a display (the program is given a
// platform that cannot start, so opening a window would fail), and
// --quit-after-run runs the options' fields on a file, prints the status
// line and the largest pause, and exits 0 after a finished run and 1 after a
// failed one.
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTest>

using namespace velmora;

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runVelmora(const QStringList& arguments, const QString& platform) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_PROGRAM), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A platform without which no window opens here.
const QString noDisplay = QStringLiteral("xcb");

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay() {
        const Finished version = runVelmora({QStringLiteral("--version")}, noDisplay);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("velmora " VELMORA_VERSION "\n"));

        const Finished help = runVelmora({QStringLiteral("--help")}, noDisplay);
        QCOMPARE(help.exitCode, 0);
        for (const char* option : {"--mode", "--model", "--wp-min", "--gamma2-max", "--steps",
                                   "--wavelengths", "--quit-after-run"}) {
            QVERIFY2(help.out.contains(QLatin1String(option)), option);
        }

        const Finished bad =
            runVelmora({QStringLiteral("--mode"), QStringLiteral("GR7")}, noDisplay);
        QCOMPARE(bad.exitCode, 2);
        QVERIFY(bad.err.contains(QStringLiteral("--mode")));
    }

    void quitAfterRunReportsTheRunAndItsLargestPause() {
        test::ScratchDir folder;
        test::writeText(folder.file("m.txt"), test::smallMeasurement().toStdString());
        const QString file = QString::fromStdString(folder.file("m.txt"));
        const QRegularExpression report(
            QStringLiteral("^Done in \\d+\\.\\d\\d s\\nlargest pause \\d+ ms\\n$"));
        // The toolkit's own options pass by the program's.
        const Finished done = runVelmora(
            {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--mode"),
             QStringLiteral("gr1"), QStringLiteral("--model"), QStringLiteral("Drude"),
             QStringLiteral("--rmax"), QStringLiteral("40"), QStringLiteral("--steps"),
             QStringLiteral("20"), QStringLiteral("--quit-after-run"), file},
            noDisplay);
        QCOMPARE(done.exitCode, 0);
        QVERIFY2(report.match(done.out).hasMatch(), qPrintable(done.out));

        // The options reach the fields the run reads: a value that is no
        // number fails the run as the field would.
        const Finished failed =
            runVelmora({QStringLiteral("--mode"), QStringLiteral("R"), QStringLiteral("--model"),
                        QStringLiteral("Drude"), QStringLiteral("--rmin"), QStringLiteral("abc"),
                        QStringLiteral("--quit-after-run"), file},
                       QStringLiteral("offscreen"));
        QCOMPARE(failed.exitCode, 1);
        QVERIFY2(failed.out.startsWith(QStringLiteral("'abc' is not a valid floating point value\n"
                                                      "largest pause ")),
                 qPrintable(failed.out));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
