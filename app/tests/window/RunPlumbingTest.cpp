// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces between a run and the window: the buffered view keeps the
// order of reports across batches, the save buttons' suggested names and the
// files they write.
#include "results/TableFile.h"
#include "ui/BufferedRunView.h"
#include "ui/SaveName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::ui;

namespace {

// Writes each replayed report as one line, so a test can compare sequences.
class JournalDisplay final : public RunDrawing {
public:
    void clearSeries(SeriesId s) override {
        journal.append(QStringLiteral("clear series %1").arg(id(s)));
    }
    void addPoints(SeriesId s, std::span<const ChartPoint> points) override {
        QString text = QStringLiteral("points %1:").arg(id(s));
        for (const auto& p : points) {
            text += QStringLiteral(" %1").arg(p.x);
        }
        journal.append(text);
    }
    void clearMemo(MemoId m) override {
        journal.append(QStringLiteral("clear memo %1").arg(static_cast<int>(m)));
    }
    void addMemoLines(MemoId m, std::span<const std::string> lines) override {
        QString text = QStringLiteral("memo %1:").arg(static_cast<int>(m));
        for (const auto& line : lines) {
            text += QLatin1Char(' ') + QString::fromStdString(line);
        }
        journal.append(text);
    }
    void createProgress(int maximum) override {
        journal.append(QStringLiteral("progress of %1").arg(maximum));
    }
    void setProgress(int position) override {
        journal.append(QStringLiteral("progress at %1").arg(position));
    }
    void setStatusText(int panel, const std::string& text) override {
        journal.append(QStringLiteral("panel %1: ").arg(panel) + QString::fromStdString(text));
    }

    QStringList journal;

private:
    static int id(SeriesId s) { return static_cast<int>(s); }
};

ChartPoint at(double x) {
    return {x, 1.0, Colour::Red};
}

} // namespace

class RunPlumbingTest : public QObject {
    Q_OBJECT

private slots:
    void reportsReachTheDisplayInOrderAndCoalesced() {
        std::atomic<bool> flag{true};
        BufferedRunView view(flag, [] { return false; });
        JournalDisplay display;
        QVERIFY(!view.drain(display));
        QVERIFY(display.journal.isEmpty());

        view.clearSeries(SeriesId::Series9);
        const ChartPoint first[] = {at(1), at(2)};
        view.addPoints(SeriesId::Series9, first);
        const ChartPoint second[] = {at(3)};
        view.addPoints(SeriesId::Series9, second);
        view.addPoints(SeriesId::LineSeries2, second);
        view.createProgress(10);
        for (int t = 1; t <= 10; ++t) {
            view.setProgress(t);
        }
        view.setProgress(0);
        const std::string lines[] = {"a", "b"};
        view.addMemoLines(MemoId::Memo2, lines);
        view.addMemoLines(MemoId::Memo2, lines);
        view.setStatusText(2, "\tLambda = 457,9");
        QVERIFY(view.drain(display));
        const int series9 = static_cast<int>(SeriesId::Series9);
        const int concentration = static_cast<int>(SeriesId::LineSeries2);
        QCOMPARE(display.journal,
                 QStringList({QStringLiteral("clear series %1").arg(series9),
                              QStringLiteral("points %1: 1 2 3").arg(series9),
                              QStringLiteral("points %1: 3").arg(concentration), "progress of 10",
                              "progress at 0", "memo 1: a b a b", "panel 2: \tLambda = 457,9"}));

        display.journal.clear();
        view.addPoints(SeriesId::Series9, second);
        QVERIFY(view.drain(display));
        QCOMPARE(display.journal, QStringList({QStringLiteral("points %1: 3").arg(series9)}));
    }

    void runFlagIsTheSharedAtomicAndStopIsNeverLost() {
        std::atomic<bool> flag{true};
        int asked = 0;
        BufferedRunView view(flag, [&] {
            ++asked;
            return true;
        });
        QVERIFY(view.runFlag());
        QCOMPARE(view.pollsWhileSet(44541), 44541);
        flag.store(false);
        QVERIFY(!view.runFlag());
        QCOMPARE(view.pollsWhileSet(44541), 0);
        // The run's start-of-run setting comes after the window set the flag
        // and must not undo a Stop pressed since.
        view.setRunFlag();
        QVERIFY(!flag.load());
        QVERIFY(view.stopConfirmation());
        QCOMPARE(asked, 1);
        view.setRunFlag();
        QVERIFY(flag.load());
    }

    void suggestedNamesDropTheOpenedFilesExtension() {
        QCOMPARE(suggestedSaveName({}, "_RNV"), QStringLiteral("_RNV"));
        QCOMPARE(suggestedSaveName("/data/run7.dat", "_WR"), QStringLiteral("run7_WR"));
        QCOMPARE(suggestedSaveName("/data/a.tx", "_WR"), QStringLiteral("_WR"));
        QCOMPARE(suggestedSaveName("abcde", "_RNV"), QStringLiteral("a_RNV"));
    }

    // A saved file lands under the very name the dialog gave, whatever its
    // characters: Qt finds it again under that name.
    void dialogNamesOutsideAsciiNameTheirFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = dir.filePath(QStringLiteral("Messung \u00e4\u00df\u03bb \u6e2c.dat"));
        writeTableFile(filePath(name), std::vector<std::string>{"a"});
        QVERIFY(QFile::exists(name));
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("a\r\n"));
    }

    void memoTextSplitsIntoTableLines() {
        QCOMPARE(memoLines({}), std::vector<std::string>{});
        QCOMPARE(memoLines("a\tb\nc"), (std::vector<std::string>{"a\tb", "c"}));
        QCOMPARE(memoLines("a\n"), (std::vector<std::string>{"a", ""}));
    }
};

QTEST_MAIN(RunPlumbingTest)
#include "RunPlumbingTest.moc"
