// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the four windows, their captions, fields and defaults, the About
// window's OK and timer, the clock, and the Help window's document.
#include "WindowTestSupport.h"
#include "ui/ChartPanel.h"
#include "ui/StatusPanels.h"
#include "ui/Windows.h"

#include <QAbstractAxis>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLogValueAxis>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

using namespace velmora;
using namespace velmora::ui;

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        visits_.clear();
        pages_.clear();
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_, &pages_));
    }
    void cleanup() { windows_.reset(); }

    void windowsStartWithAboutShownAndTheOthersHidden() {
        QCOMPARE(windows_->mainWindow.windowTitle(), QStringLiteral("Velmora (demo version)"));
        QCOMPARE(windows_->intensityWindow.windowTitle(), QStringLiteral("Intensity results"));
        QCOMPARE(windows_->aboutWindow.windowTitle(), QStringLiteral("About"));
        QCOMPARE(windows_->helpWindow.windowTitle(), QStringLiteral("Help"));
        QVERIFY(windows_->aboutWindow.isVisible());
        // Above the main window it belongs to, not above every program.
        QVERIFY(!windows_->aboutWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(windows_->aboutWindow.parentWidget(), &windows_->mainWindow);
        QVERIFY(!windows_->aboutWindow.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!windows_->aboutWindow.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(windows_->aboutWindow.size(), QSize(450, 257));
        QVERIFY(!windows_->intensityWindow.isVisible());
        QVERIFY(!windows_->helpWindow.isVisible());
        QVERIFY(visits_.empty());
        QVERIFY(!windows_->mainWindow.dataLoaded());
    }

    void aboutWindowShowsItsPictureAndLabels() {
        const auto* image = windows_->aboutWindow.findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(image);
        const QPixmap picture = image->pixmap();
        QCOMPARE(picture.size(), QSize(177, 204));
        QVERIFY(picture.toImage().pixelColor(88, 150) != picture.toImage().pixelColor(5, 5));
        const auto text = [&](const char* name) {
            return windows_->aboutWindow.findChild<QLabel*>(QString::fromLatin1(name))->text();
        };
        QCOMPARE(text("Label1"), QStringLiteral("Velmora"));
        QCOMPARE(text("Label7"), QStringLiteral("DEMO VERSION"));
        QCOMPARE(text("Label2"), QStringLiteral("(Based on Mie theory)"));
        QCOMPARE(text("Label5"), QStringLiteral("Last Update:"));
        QCOMPARE(text("Label6"), QStringLiteral("25.10.2005"));
        QCOMPARE(text("Label8"), QStringLiteral("Version " VELMORA_VERSION));
    }

    // A modal box ("Not load data!", "Cannot open file", the stop question)
    // never opens hidden behind About: About steps aside. Help -> About
    // brings it back.
    void aboutStepsAsideForAModalBoxAndReturnsFromTheHelpMenu() {
        windows_->mainWindow.show();
        QVERIFY(windows_->aboutWindow.isVisible());
        QDialog box(&windows_->mainWindow);
        box.setModal(true);
        box.show();
        QVERIFY(!windows_->aboutWindow.isVisible());
        box.hide();
        windows_->mainWindow.findChild<QAction*>(QStringLiteral("About1"))->trigger();
        QVERIFY(windows_->aboutWindow.isVisible());
        // With the keyboard, About takes Enter for its OK: no Go, which
        // would say "Not load data!".
        QVERIFY(QTest::qWaitForWindowActive(&windows_->aboutWindow));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!windows_->aboutWindow.isVisible());
        QCOMPARE(dialogs_.informations, QStringList());
    }

    void aboutTimerHidesTheWindowAfterTenSeconds() {
        auto* timer = windows_->aboutWindow.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 10000);
        QVERIFY(timer->isActive());
        QVERIFY(windows_->aboutWindow.isVisible());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!windows_->aboutWindow.isVisible());
    }

    void aboutOkHidesAndTheTimerDoesNotBringItBack() {
        auto* ok = windows_->aboutWindow.findChild<QPushButton*>(QStringLiteral("Button1"));
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!windows_->aboutWindow.isVisible());
        QMetaObject::invokeMethod(
            windows_->aboutWindow.findChild<QTimer*>(QStringLiteral("Timer1")), "timeout");
        QVERIFY(!windows_->aboutWindow.isVisible());
    }

    void fieldsStartAtTheirDefaultsWithNoModeSelected() {
        for (const FieldDefault& d : kFieldDefaults) {
            const QLineEdit* field = windows_->mainWindow.edit(d.field);
            QCOMPARE(field->text(), QString::fromUtf8(d.text.data(), qsizetype(d.text.size())));
            QCOMPARE(field->objectName(), QStringLiteral("Edit%1").arg(static_cast<int>(d.field)));
        }
        const auto* mode = windows_->mainWindow.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        const auto* model = windows_->mainWindow.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
        QCOMPARE(mode->currentIndex(), -1);
        QCOMPARE(mode->placeholderText(), QStringLiteral("Fitting parameters"));
        QCOMPARE(mode->count(), 5);
        QCOMPARE(mode->itemText(1), QStringLiteral("G, R (I)"));
        QCOMPARE(mode->itemText(3), QStringLiteral(" "));
        QCOMPARE(mode->itemText(static_cast<int>(FitMode::GR3)), QStringLiteral("G, R (III)"));
        QCOMPARE(model->currentIndex(), -1);
        QCOMPARE(model->placeholderText(), QStringLiteral("Dielecric function"));
        QCOMPARE(model->itemText(1), QStringLiteral("Lorents"));
        // The snapshot a run takes reads exactly these texts.
        const FieldInputs inputs = windows_->mainWindow.snapshotInputs();
        QCOMPARE(inputs.text(Field::GamMax), std::string("2"));
        QCOMPARE(inputs.fitMode, -1);
        QCOMPARE(inputs.dielectric, -1);
    }

    void pagesChartsAndStatusBarAreLaidOut() {
        auto* pages = windows_->mainWindow.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(2), QStringLiteral("Fit parameters in dependence of time"));
        QVERIFY(!pages->isTabVisible(2));
        QCOMPARE(windows_->mainWindow.chart(WindowChart::Measured)->titleLabel()->text(),
                 QStringLiteral("Experimental data"));
        QVERIFY(windows_->mainWindow.chart(WindowChart::Measured)->titleLabel()->font().bold());
        QVERIFY(qobject_cast<QLogValueAxis*>(
            windows_->mainWindow.chart(WindowChart::Concentration)->yAxis()));
        const auto* damping =
            qobject_cast<QValueAxis*>(windows_->mainWindow.chart(WindowChart::Damping)->yAxis());
        QVERIFY(damping);
        QCOMPARE(damping->min(), 0.0);
        QCOMPARE(damping->max(), 2.0);
        // Ticks every 0.1, labelled or minor.
        QCOMPARE(damping->tickInterval() / (damping->minorTickCount() + 1), 0.1);
        StatusPanels* status = windows_->mainWindow.statusPanels();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(status->panel(i)->width(), StatusPanels::panelWidths[i]);
        }
        QVERIFY(!status->progressBar()->isVisible());
    }

    void resizingHalvesTheChartAreas() {
        MainWindow& form = windows_->mainWindow;
        form.show();
        auto* area = form.findChild<QSplitter*>(QStringLiteral("Panel4"));
        auto* upper = form.findChild<QSplitter*>(QStringLiteral("Panel5"));
        auto* lower = form.findChild<QSplitter*>(QStringLiteral("Panel6"));
        // Dividers moved by hand are put back in the middle by a resize.
        QTest::qWait(20);
        area->setSizes({50, 400});
        upper->setSizes({60, 500});
        lower->setSizes({500, 60});
        form.resize(1000, 700);
        QTest::qWait(20);
        const int slack = area->handleWidth() + 1;
        QVERIFY(std::abs(area->sizes().value(0) - area->height() / 2) <= slack);
        QVERIFY(std::abs(upper->sizes().value(0) - area->width() / 2) <= slack);
        QVERIFY(std::abs(lower->sizes().value(0) - lower->width() / 2) <= slack);
    }

    void clockShowsTheTimeOfDay() {
        const QTime before = QTime::currentTime();
        windows_->mainWindow.showTime();
        const QString shown = windows_->mainWindow.statusPanels()->panel(0)->text();
        const QTime after = QTime::currentTime();
        // The locale's long format, less the time-zone name the panel has no
        // room for.
        QString format = QLocale().timeFormat(QLocale::LongFormat);
        format.remove(QLatin1Char('t'));
        format = format.trimmed();
        QVERIFY(shown == QLocale().toString(before, format) ||
                shown == QLocale().toString(after, format));
        QVERIFY(!shown.contains(QDateTime::currentDateTime().timeZoneAbbreviation()));
        QCOMPARE(windows_->mainWindow.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(),
                 1000);
    }

    void helpNavigatesAnewOnEveryShowing() {
        test::ScratchDir folder;
        folder.enter();
        test::writeText(folder.file("HelpDemo.mht"), "MIME-Version: 1.0\r\n");
        windows_->mainWindow.showHelpWindow();
        QVERIFY(windows_->helpWindow.isVisible());
        QCOMPARE(visits_.size(), std::size_t{1});
        QCOMPARE(visits_[0],
                 QUrl::fromLocalFile(test::pathIn(folder, QStringLiteral("HelpDemo.mht"))));
        windows_->helpWindow.hide();
        windows_->mainWindow.showHelpWindow();
        QCOMPARE(visits_.size(), std::size_t{2});
    }

    // Without a document in the working directory: the installed copy, and
    // without that a page that says what was looked for where.
    void helpFallsBackToTheInstalledCopyThenToAPageOfItsOwn() {
        test::ScratchDir folder;
        folder.enter();
        test::ScratchDir installed;
        const std::filesystem::path copy = installed.path() / "HelpDemo.mht";
        test::writeText(copy.string(), "MIME-Version: 1.0\r\n");
        DataFileLookup lookup{{copy, "/nowhere/HelpDemo.mht"}, copy};
        windows_->helpWindow.setDocumentLookup([&] { return lookup; });
        windows_->mainWindow.showHelpWindow();
        QCOMPARE(visits_.size(), std::size_t{1});
        QCOMPARE(visits_[0], QUrl::fromLocalFile(QString::fromStdString(copy.string())));
        QVERIFY(pages_.isEmpty());

        windows_->helpWindow.hide();
        lookup.found.reset();
        windows_->mainWindow.showHelpWindow();
        QCOMPARE(visits_.size(), std::size_t{1});
        QCOMPARE(pages_.size(), 1);
        const QString page = pages_[0];
        QVERIFY(page.contains(QStringLiteral("HelpDemo.mht was not found")));
        QVERIFY(page.contains(test::pathIn(folder, QStringLiteral("HelpDemo.mht"))));
        QVERIFY(page.contains(QString::fromStdString(copy.string())));
        QVERIFY(page.contains(QStringLiteral("/nowhere/HelpDemo.mht")));
    }

    void evaluateShowsTheIntensityWindowWithoutBlocking() {
        windows_->mainWindow.showIntensityWindow();
        QVERIFY(windows_->intensityWindow.isVisible());
        QVERIFY(!windows_->intensityWindow.isModal());
        QCOMPARE(windows_->intensityWindow.size(), QSize(567, 376));
    }

private:
    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    QStringList pages_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
