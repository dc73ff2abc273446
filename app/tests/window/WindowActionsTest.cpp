// SPDX-License-Identifier: GPL-3.0-or-later
// What the File menu, the tool bar and the keys do beyond Open and Go: a file
// chosen through the dialog, the recent files, a dropped file, Save, Exit,
// and what the window shows when a run is done, stopped or refused.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "results/TidyTable.h"
#include "ui/MessageText.h"
#include "ui/RecentFiles.h"
#include "ui/StatusPanels.h"
#include "ui/WindowSettings.h"
#include "ui/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QXYSeries>

#include <algorithm>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace velmora;
using namespace velmora::ui;

class WindowActionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Settings go to a test location, never the user's, and one of this
        // process's own: other runs of this test on the machine write theirs
        // at the same time.
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsFolder_.path().string()));
        QCoreApplication::setOrganizationName(QStringLiteral("velmora-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("WindowActionsTest"));
    }
    void init() {
        QSettings().clear();
        folder_ = std::make_unique<test::ScratchDir>();
        folder_->enter();
        test::writeText(folder_->file("DemoDat.txt"), test::smallMeasurement().toStdString());
        // The user's own file: other numbers than DemoDat.txt.
        test::writeText(folder_->file("mine.dat"),
                        "0\t2\t3\t2\t3\t2\t3\t2\t3\n1\t2.5\t3.5\t2.5\t3.2\t2.1\t3.1\t2.2\t3.3\n");
        dialogs_ = test::ScriptedDialogs{};
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->aboutWindow.dismiss();
        form().show();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        test::setQuickFields(form());
        test::pickDielectric(form(), 0);
        test::pickMode(form(), 0);
    }
    void cleanup() {
        windows_.reset();
        folder_.reset();
    }

    void fileChosenInTheDialogIsReadAndNamedInTheTitle() {
        const QString mine = test::pathIn(*folder_, QStringLiteral("mine.dat"));
        dialogs_.openAs = mine;
        QTest::keyClick(&form(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.openQuestions, 1);
        QVERIFY(form().runGoing());
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors, QStringList());
        QCOMPARE(form().windowTitle(), QStringLiteral("mine.dat - Velmora (demo version)"));
        QCOMPARE(form().dataFile(), mine);
        // The measured points are the file's.
        const QXYSeries* v1 = form().series(SeriesId::Series1);
        QCOMPARE(v1->count(), 2);
        QCOMPARE(v1->at(1), QPointF(1.0, 2.5));
        // Go runs the same file again; the save buttons suggest its name.
        form().startRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().series(SeriesId::Series1)->count(), 2);
        form().saveResultTable();
        QCOMPARE(dialogs_.suggestedNames.constLast(), QStringLiteral("mine_RNV"));
        // The described Open reads DemoDat.txt of the working directory again.
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().series(SeriesId::Series1)->count(), 3);
        QCOMPARE(form().windowTitle(), QStringLiteral("Velmora (demo version)"));
    }

    void cancelledDialogStartsNothing() {
        QTest::keyClick(&form(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.openQuestions, 1);
        QVERIFY(!form().runGoing());
        QVERIFY(!form().dataLoaded());
        QCOMPARE(form().windowTitle(), QStringLiteral("Velmora (demo version)"));
    }

    void recentFilesKeepTheNewestFirstAndOpenFromTheMenu() {
        const QString mine = test::pathIn(*folder_, QStringLiteral("mine.dat"));
        const QString demo = test::pathIn(*folder_, QStringLiteral("DemoDat.txt"));
        for (const QString& file : {mine, demo, mine}) {
            form().openFile(file);
            QVERIFY(test::waitForRunEnd(form()));
        }
        QCOMPARE(RecentFiles().list(), QStringList({mine, demo}));
        QMenu* menu = form().recentFilesMenu();
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(1)->text(), demo);
        menu->actions().at(1)->trigger();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().dataFile(), demo);
        QCOMPARE(RecentFiles().list(), QStringList({demo, mine}));
        for (int i = 0; i < RecentFiles::capacity + 3; ++i) {
            RecentFiles().remember(QStringLiteral("/data/run%1.txt").arg(i));
        }
        QCOMPARE(RecentFiles().list().size(), RecentFiles::capacity);
    }

    // A file that cannot be read names no file in the title and stays out
    // of Recent files; a FIFO is refused before any run, which would wait
    // for a writer for ever.
    void unreadableFilesAreNeitherNamedNorRemembered() {
        const QString mine = test::pathIn(*folder_, QStringLiteral("mine.dat"));
        form().openFile(mine);
        QVERIFY(test::waitForRunEnd(form()));
        test::writeText(folder_->file("semicolons.csv"), "0;2;3;2;3;2;3;2;3\n");
        form().openFile(test::pathIn(*folder_, QStringLiteral("semicolons.csv")));
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors.size(), 1);
        QCOMPARE(form().windowTitle(), MainWindow::baseTitle());
        QCOMPARE(RecentFiles().list(), QStringList({mine}));
#ifndef _WIN32
        const QString fifo = test::pathIn(*folder_, QStringLiteral("fifo"));
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        form().openFile(fifo);
        QVERIFY(!form().runGoing());
        QCOMPARE(dialogs_.errors.size(), 2);
        QVERIFY(dialogs_.errors.constLast().contains(QStringLiteral("not a regular file")));
        QCOMPARE(RecentFiles().list(), QStringList({mine}));
#endif
    }

    // A message as long as a semicolon-separated file's first line is cut
    // in the status bar, which keeps the window's width, and is whole in
    // its tooltip; a message box gets it in lines of readable width.
    void longMessageKeepsTheWindowWidthAndLosesNothing() {
        QString line = QStringLiteral("Time");
        for (int c = 0; c < 300; ++c) {
            line += QStringLiteral(";I%1").arg(c);
        }
        test::writeText(folder_->file("wide.csv"), (line + QStringLiteral("\n")).toStdString());
        const int width = form().width();
        form().openFile(test::pathIn(*folder_, QStringLiteral("wide.csv")));
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors.size(), 1);
        const QString message = dialogs_.errors.constFirst();
        QVERIFY(message.size() > 1000);
        QApplication::processEvents();
        QCOMPARE(form().width(), width);
        QVERIFY(form().minimumSizeHint().width() <= width);
        const ElidedLabel* note = form().statusPanels()->note();
        QCOMPARE(note->fullText(), QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        QCOMPARE(note->toolTip(), note->fullText());
        QVERIFY(note->text().size() < message.size());

        const QString wrapped = wrappedLines(message, 90);
        for (const QString& part : wrapped.split(QLatin1Char('\n'))) {
            QVERIFY(part.size() <= 90);
        }
        const auto withoutBreaks = [](QString text) {
            return text.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
        };
        QCOMPARE(withoutBreaks(wrapped), withoutBreaks(message));
        QCOMPARE(wrappedLines(QStringLiteral("a bc def"), 4), QStringLiteral("a bc\ndef"));
    }

    // The mode, the dielectric function and every field come back at the
    // next start; a first start, or stored values out of range, show the
    // defaults.
    void settingsComeBackAndAFirstStartShowsTheDefaults() {
        QSettings stored(test::pathIn(*folder_, QStringLiteral("stored.ini")),
                         QSettings::IniFormat);
        test::pickMode(form(), 2);
        test::pickDielectric(form(), 1);
        form().findChild<QCheckBox*>(QStringLiteral("RefineBox"))->setChecked(true);
        for (const FieldDefault& d : kFieldDefaults) {
            form().edit(d.field)->setText(QStringLiteral("%1,5").arg(static_cast<int>(d.field)));
        }
        saveWindowSettings(form(), stored);

        VelmoraWindows next(dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        restoreWindowSettings(next.mainWindow, stored);
        QCOMPARE(next.mainWindow.snapshotInputs().fitMode, 2);
        QCOMPARE(next.mainWindow.snapshotInputs().dielectric, 1);
        QVERIFY(next.mainWindow.snapshotInputs().refine);
        QVERIFY(!next.mainWindow.findChild<QWidget*>(QStringLiteral("Panel24"))->isHidden());
        for (const FieldDefault& d : kFieldDefaults) {
            QCOMPARE(next.mainWindow.edit(d.field)->text(),
                     QStringLiteral("%1,5").arg(static_cast<int>(d.field)));
        }

        QSettings empty(test::pathIn(*folder_, QStringLiteral("empty.ini")), QSettings::IniFormat);
        empty.setValue(QStringLiteral("fit/mode"), 7);
        empty.setValue(QStringLiteral("fit/dielectric"), QStringLiteral("Drude"));
        VelmoraWindows first(dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        restoreWindowSettings(first.mainWindow, empty);
        QCOMPARE(first.mainWindow.snapshotInputs().fitMode, -1);
        QCOMPARE(first.mainWindow.snapshotInputs().dielectric, -1);
        QVERIFY(!first.mainWindow.snapshotInputs().refine);
        for (const FieldDefault& d : kFieldDefaults) {
            QCOMPARE(first.mainWindow.edit(d.field)->text(),
                     QString::fromUtf8(d.text.data(), qsizetype(d.text.size())));
        }
    }

    // The reader's warnings show in the status bar, one count for the run
    // with every warning in its tooltip, and go with the next run.
    void warningsOfTheRunShowInTheStatusBar() {
        test::writeText(folder_->file("zero.dat"),
                        "0\t2\t3\t2\t3\t2\t3\t2\t3\n1\t0\t3.5\t2.5\t3.2\t2.1\t3.1\t2.2\t3.3\n"
                        "2\t2\t3.5\t2.5\t3.2\t2.1\t-3.1\t2.2\t3.3\n");
        form().openFile(test::pathIn(*folder_, QStringLiteral("zero.dat")));
        QVERIFY(test::waitForRunEnd(form()));
        const QLabel* warnings = form().statusPanels()->warnings();
        QVERIFY(!warnings->isHidden());
        QCOMPARE(warnings->text(), QStringLiteral("2 warnings"));
        const QStringList listed = warnings->toolTip().split(QLatin1Char('\n'));
        QCOMPARE(listed.size(), 2);
        QVERIFY(listed[0].contains(QStringLiteral("line 2")));
        QVERIFY(listed[1].contains(QStringLiteral("line 3")));
        QVERIFY(dialogs_.informations.isEmpty());
        form().openFile(test::pathIn(*folder_, QStringLiteral("mine.dat")));
        QVERIFY(test::waitForRunEnd(form()));
        QVERIFY(warnings->isHidden());
    }

    void demoMeasurementIsFoundAndOpened() {
        // Not in the working directory: the source tree's demo folder has it.
        std::filesystem::remove(folder_->file("DemoDat.txt"));
        form().findChild<QAction*>(QStringLiteral("OpenDemo1"))->trigger();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(dialogs_.errors, QStringList());
        QVERIFY(form().dataFile().endsWith(QStringLiteral("DemoDat.txt")));
        QVERIFY(form().dataFile() != QStringLiteral("DemoDat.txt"));
        QCOMPARE(form().series(SeriesId::Series1)->count(), 500);
        QCOMPARE(form().windowTitle(), QStringLiteral("DemoDat.txt - Velmora (demo version)"));
    }

    void droppedFileIsOpened() {
        const QString mine = test::pathIn(*folder_, QStringLiteral("mine.dat"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(mine)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&form(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form(), &drop);
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().dataFile(), mine);
        QCOMPARE(form().series(SeriesId::Series1)->count(), 2);
    }

    void saveAndTheToolButtonSaveTheResultTable() {
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        const QStringList table =
            test::memoLines(form().findChild<QWidget*>(QStringLiteral("Memo1")));
        QCOMPARE(table.size(), 4);
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("keys.dat"));
        QTest::keyClick(&form(), Qt::Key_S, Qt::ControlModifier);
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("tool.dat"));
        form().findChild<QAction*>(QStringLiteral("ToolButton2"))->trigger();
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("menu.dat"));
        form().findChild<QAction*>(QStringLiteral("Save1"))->trigger();
        const std::string expected = (table.join(QStringLiteral("\r\n")) + "\r\n").toStdString();
        for (const char* name : {"keys.dat", "tool.dat", "menu.dat"}) {
            QCOMPARE(test::readBytes(folder_->file(name)), expected);
        }
        QCOMPARE(dialogs_.suggestedNames,
                 QStringList({"_RNV", "_RNV", "_RNV"})); // DemoDat.txt came from Open
    }

    // File -> "Save as CSV…" writes the shown result in tidy form: comment
    // lines, the header, a row per time point; with no result shown it
    // refuses without asking for a name.
    void saveAsCsvWritesTheTidyTableOfTheShownResult() {
        QAction* saveCsv = form().findChild<QAction*>(QStringLiteral("SaveCsv1"));
        saveCsv->trigger();
        QCOMPARE(dialogs_.informations, QStringList{QStringLiteral("There is no result to save")});
        QVERIFY(dialogs_.suggestedNames.isEmpty());

        const QString mine = test::pathIn(*folder_, QStringLiteral("mine.dat"));
        form().openFile(mine);
        QVERIFY(test::waitForRunEnd(form()));
        dialogs_.saveAs = test::pathIn(*folder_, QStringLiteral("tidy.csv"));
        saveCsv->trigger();
        QCOMPARE(dialogs_.suggestedNames, QStringList{QStringLiteral("mine.csv")});
        const QStringList lines =
            QString::fromStdString(test::readBytes(folder_->file("tidy.csv"))).split("\r\n");
        const auto header = std::find(
            lines.begin(), lines.end(),
            QString::fromUtf8(kTidyTableHeader.data(), qsizetype(kTidyTableHeader.size())));
        QVERIFY(header != lines.end());
        QVERIFY(std::all_of(lines.begin(), header,
                            [](const QString& line) { return line.startsWith("# "); }));
        QVERIFY(lines.join('\n').contains(mine));
        // Two time points, then the last line end.
        QCOMPARE(lines.end() - header, 4);
        QCOMPARE(lines.constLast(), QString());
        QVERIFY(lines[header - lines.begin() + 1].startsWith(QStringLiteral("0,")));
        QCOMPARE(dialogs_.errors, QStringList());
    }

    void exitClosesTheWindow() {
        QSignalSpy closed(&form(), &MainWindow::closed);
        QTest::keyClick(&form(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!form().isVisible());
        QCOMPARE(dialogs_.stopQuestions, 0);
    }

    void exitDuringARunAsksTheStopQuestionFirst() {
        test::pickMode(form(), 1);
        QSignalSpy closed(&form(), &MainWindow::closed);
        dialogs_.onStopQuestion = [] { return false; };
        form().openAndRun();
        QVERIFY(form().runGoing());
        form().findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
        QCOMPARE(dialogs_.stopQuestions, 1);
        QCOMPARE(closed.count(), 0);
        QVERIFY(form().isVisible());
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(form().statusPanels()->note()->fullText().left(8), QStringLiteral("Done in "));

        dialogs_.onStopQuestion = [] { return true; };
        form().startRun();
        form().requestExit();
        QCOMPARE(dialogs_.stopQuestions, 2);
        QCOMPARE(closed.count(), 1);
        QVERIFY(test::waitForRunEnd(form()));
        // The abandoned run asked nobody again.
        QCOMPARE(dialogs_.stopQuestions, 2);
        QCOMPARE(form().statusPanels()->note()->fullText(), QStringLiteral("Stopped"));
    }

    void statusAndBarAfterADoneAStoppedAndAFailedRun() {
        StatusPanels* status = form().statusPanels();
        test::pickMode(form(), 2);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QVERIFY(QRegularExpression(QStringLiteral("^Done in \\d+\\.\\d\\d s$"))
                    .match(status->note()->fullText())
                    .hasMatch());
        QCOMPARE(status->progressBar()->value(), 0);

        dialogs_.onStopQuestion = [] { return true; };
        QVERIFY(test::runStoppedAtOnce(form(), dialogs_, [this] { form().startRun(); }));
        QCOMPARE(status->note()->fullText(), QStringLiteral("Stopped"));
        QCOMPARE(status->progressBar()->value(), 0);

        // A bad field: the message unchanged, the field focused and marked
        // until it is edited.
        QLineEdit* rmax = form().edit(Field::Rmax);
        const QFont fieldFont = rmax->font();
        rmax->setText(QStringLiteral("abc"));
        form().edit(Field::Lambda1)->setFocus();
        form().startRun();
        QVERIFY(test::waitForRunEnd(form()));
        const QString message = QStringLiteral("'abc' is not a valid floating point value");
        QCOMPARE(dialogs_.errors, QStringList({message}));
        QCOMPARE(status->note()->fullText(), message);
        QCOMPARE(status->progressBar()->value(), 0);
        QCOMPARE(QApplication::focusWidget(), rmax);
        QVERIFY(rmax->property("invalid").toBool());
        QVERIFY(!form().edit(Field::Rmin)->property("invalid").toBool());
        QTest::keyClick(rmax, Qt::Key_Backspace);
        QVERIFY(!rmax->property("invalid").toBool());
        // Corrected, it looks as it did before: the same font as its peers.
        QCOMPARE(rmax->font(), fieldFont);
        QCOMPARE(rmax->font(), form().edit(Field::Rmin)->font());

        // The mode's own field is found too.
        rmax->setText(QStringLiteral("40"));
        form().edit(Field::PolWp)->setText(QStringLiteral("5;6"));
        form().startRun();
        QVERIFY(test::waitForRunEnd(form()));
        QCOMPARE(QApplication::focusWidget(), form().edit(Field::PolWp));
        QVERIFY(form().edit(Field::PolWp)->property("invalid").toBool());
    }

    void modeOneShowsThePlasmaEnergyAndANonFlatPrediction() {
        test::pickMode(form(), 1);
        form().openAndRun();
        QVERIFY(test::waitForRunEnd(form()));
        QVERIFY(!form().findChild<QWidget*>(QStringLiteral("Panel19"))->isHidden());
        QCOMPARE(form().series(SeriesId::Series14)->count(), 3);
        const QXYSeries* predicted = form().series(SeriesId::Series16);
        QCOMPARE(predicted->count(), 20);
        QVERIFY(predicted->at(0).y() > 0.0);
        QVERIFY(predicted->at(3).y() != predicted->at(0).y());
        test::pickMode(form(), 2);
        QVERIFY(form().findChild<QWidget*>(QStringLiteral("Panel19"))->isHidden());
    }

private:
    MainWindow& form() {
        return windows_->mainWindow;
    }

    test::ScratchDir settingsFolder_;
    std::unique_ptr<test::ScratchDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(WindowActionsTest)
#include "WindowActionsTest.moc"
