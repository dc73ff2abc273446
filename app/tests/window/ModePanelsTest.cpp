// SPDX-License-Identifier: GPL-3.0-or-later
// The mode choice: which parameter panel and whether page 3 shows, for every
// item and for the sequences the user may pick them in.
#include "WindowTestSupport.h"
#include "ui/ChartPanel.h"
#include "ui/Windows.h"

#include <QAbstractAxis>
#include <QTabWidget>
#include <QTest>

using namespace velmora;
using namespace velmora::ui;

namespace {

struct Shown {
    bool panel2;
    bool panel3;
    bool panel24;
    bool page3;
};

} // namespace

class ModePanelsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        visits_.clear();
        windows_ = std::make_unique<VelmoraWindows>(
            dialogs_, std::make_unique<test::RecordingHelpBrowser>(visits_));
        windows_->mainWindow.show();
    }
    void cleanup() { windows_.reset(); }

    void noPanelBeforeAModeIsPicked() { verifyShown({false, false, false, false}); }

    void eachItemShowsItsPanel_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("panel2");
        QTest::addColumn<bool>("panel3");
        QTest::addColumn<bool>("panel24");
        QTest::addColumn<bool>("page3");
        QTest::newRow("R") << 0 << true << false << false << false;
        // Mode "G, R (I)" reads its ranges from Panel3, so Panel3 shows.
        QTest::newRow("G, R (I)") << 1 << false << true << false << true;
        QTest::newRow("G, R (II)") << 2 << false << false << true << true;
        QTest::newRow("blank changes nothing") << 3 << false << false << false << false;
    }
    void eachItemShowsItsPanel() {
        QFETCH(int, item);
        QFETCH(bool, panel2);
        QFETCH(bool, panel3);
        QFETCH(bool, panel24);
        QFETCH(bool, page3);
        test::pickMode(windows_->mainWindow, item);
        verifyShown({panel2, panel3, panel24, page3});
    }

    void blankAfterModeOneKeepsModeOnePanels() {
        test::pickMode(windows_->mainWindow, 1);
        test::pickMode(windows_->mainWindow, 3);
        verifyShown({false, true, false, true});
        QCOMPARE(windows_->mainWindow.snapshotInputs().fitMode, 3);
    }

    void radiusAfterModeTwoHidesPage3() {
        test::pickMode(windows_->mainWindow, 2);
        test::pickMode(windows_->mainWindow, 0);
        verifyShown({true, false, false, false});
    }

    void page3ShowsOnlyTheDampingChart() {
        test::pickMode(windows_->mainWindow, 2);
        const auto visible = [&](const char* name) {
            return windows_->mainWindow.findChild<QWidget*>(QString::fromLatin1(name))->isVisible();
        };
        windows_->mainWindow.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentIndex(2);
        QVERIFY(visible("Panel20"));
        QVERIFY(!visible("Panel19"));
        QVERIFY(!visible("Panel17"));
        ChartPanel* plasma = windows_->mainWindow.chart(WindowChart::PlasmaEnergy);
        ChartPanel* damping = windows_->mainWindow.chart(WindowChart::Damping);
        QCOMPARE(plasma->yAxis()->titleText(), QStringLiteral("Wp [eV]"));
        QCOMPARE(plasma->xAxis()->titleText(), QStringLiteral("Time [s]"));
        QCOMPARE(damping->yAxis()->titleText(), QStringLiteral("Gam [eV]"));
        QCOMPARE(damping->yAxis()->titleFont().family(), QStringLiteral("Times New Roman"));
    }

private:
    void verifyShown(const Shown& expected) {
        const auto hidden = [&](const char* name) {
            return windows_->mainWindow.findChild<QWidget*>(QString::fromLatin1(name))->isHidden();
        };
        QCOMPARE(!hidden("Panel2"), expected.panel2);
        QCOMPARE(!hidden("Panel3"), expected.panel3);
        QCOMPARE(!hidden("Panel24"), expected.panel24);
        QCOMPARE(windows_->mainWindow.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
                     ->isTabVisible(2),
                 expected.page3);
    }

    test::ScriptedDialogs dialogs_;
    std::vector<QUrl> visits_;
    std::unique_ptr<VelmoraWindows> windows_;
};

QTEST_MAIN(ModePanelsTest)
#include "ModePanelsTest.moc"
