// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTestSupport.h"

#include "run/FitRun.h"
#include "ui/MainWindow.h"
#include "ui/ResultDrawing.h"
#include "ui/TableField.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QWidget>

namespace velmora::test {

namespace {

// Draws the start of a run as the window does; never stopped.
class DrawingView : public RunView {
public:
    explicit DrawingView(RecordingDrawing& drawing) : drawing_(drawing) {}
    void started(const FitResult& measurement) override {
        ui::drawMeasurement(drawing_, measurement);
    }
    void advanced(int, int) override {}
    void passLabel(const std::string&) override {}
    bool runFlag() override { return true; }
    void setRunFlag() override {}
    bool stopConfirmation() override { return false; }

private:
    RecordingDrawing& drawing_;
};

} // namespace

RecordingDrawing engineRun(const FieldInputs& inputs, QString* error) {
    RecordingDrawing expected;
    DrawingView view(expected);
    try {
        const FitResult result = runFit(inputs, view);
        if (result.completed) {
            ui::drawResult(expected, result);
        }
    } catch (const RunError& failure) {
        if (error) {
            *error = QString::fromStdString(failure.what());
        }
    }
    return expected;
}

QWidget* RecordingHelpBrowser::widget() {
    return new QWidget;
}

QString pathIn(const ScratchDir& dir, const QString& name) {
    return QString::fromStdString(dir.file(name.toStdString()));
}

QByteArray smallMeasurement() {
    return "0\t1,20\t1,45\t1,05\t1,30\t0,90\t1,10\t0,70\t0,85\r\n"
           "1.5\t1.60\t1.90\t1.40\t1.75\t1.20\t1.50\t0.95\t1.15\r\n"
           "3\t2,10\t2,55\t1,85\t2,30\t1,60\t2,00\t1,30\t1,55\r\n";
}

void setQuickFields(ui::MainWindow& window) {
    window.edit(Field::Rmin)->setText(QStringLiteral("20"));
    window.edit(Field::Rmax)->setText(QStringLiteral("40"));
    window.edit(Field::N)->setText(QStringLiteral("20"));
    window.edit(Field::WpMin)->setText(QStringLiteral("5,6"));
    window.edit(Field::WpMax)->setText(QStringLiteral("5,6"));
}

void pickMode(ui::MainWindow& window, int item) {
    window.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(item);
    window.onModeChanged(item);
}

void pickDielectric(ui::MainWindow& window, int item) {
    window.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(item);
}

bool waitForRunEnd(ui::MainWindow& window) {
    if (!window.runGoing()) {
        return true;
    }
    QSignalSpy ended(&window, &ui::MainWindow::runEnded);
    return ended.wait(600000);
}

bool runStoppedAtOnce(ui::MainWindow& window, const ScriptedDialogs& dialogs,
                      const std::function<void()>& start) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int asked = dialogs.stopQuestions;
        start();
        window.requestStop();
        if (!waitForRunEnd(window)) {
            return false;
        }
        if (dialogs.stopQuestions > asked) {
            return true;
        }
    }
    return false;
}

QStringList memoLines(const QWidget* memo) {
    const auto* table = qobject_cast<const ui::TableField*>(memo);
    const QString text =
        table != nullptr ? table->text() : qobject_cast<const QPlainTextEdit*>(memo)->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QStringList toQStringList(const std::vector<std::string>& lines) {
    QStringList list;
    for (const auto& line : lines) {
        list.append(QString::fromStdString(line));
    }
    return list;
}

} // namespace velmora::test
