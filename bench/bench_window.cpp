// SPDX-License-Identifier: GPL-3.0-or-later
// The window while it fits a 1000-point measurement (make-demo-data) on the
// offscreen platform, against velmora-fit on the same file and fields.
//
// window_s: from Open to the status note of the ended run, charts and tables
// filled; fit_s: velmora-fit's whole run as a process (the best of three);
// over_fit_s: their difference, which should stay below 0.5 s.
// largest_pause_ms: the longest the event loop went without serving a timer
// (PauseMeter) from Open until 100 ms after the run ended, which takes in
// the painting of what the run drew; it should stay below 100 ms.
// stop_latency_ms (the Stop cases): from the Stop action, 100 ms after Open,
// to the stop question; it should stay below 100 ms.
#include "GeneratedMeasurement.h"
#include "ui/Dialogs.h"
#include "ui/HelpBrowser.h"
#include "ui/MainWindow.h"
#include "ui/PauseMeter.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>


#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace velmora;
using namespace velmora::ui;

constexpr int kPoints = 1000;

// Answers the stop question as told and records when it was asked.
class BenchDialogs final : public Dialogs {
public:
    void information(QWidget*, const QString&) override {}
    void error(QWidget*, const QString& text) override { errors.append(text); }
    bool stopConfirmation(QWidget*) override {
        askedAtNs = clock.nsecsElapsed();
        return true;
    }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*) override { return {}; }
    std::optional<ImageRequest> imageFile(QWidget*, QSize) override { return std::nullopt; }

    QElapsedTimer clock;
    qint64 askedAtNs = -1;
    QStringList errors;
};

class NoHelpBrowser final : public HelpBrowser {
public:
    QWidget* widget() override { return new QWidget; }
    void navigate(const QUrl&) override {}
    void showPage(const QString&) override {}
};

// The 1000-point measurement.
const GeneratedMeasurement& measurement() {
    static const GeneratedMeasurement file("velmora-bench-window", kPoints);
    return file;
}

struct FieldText {
    Field field;
    const char* windowText;
    const char* option;
    const char* optionValue;
};

struct WindowCase {
    int modeItem; // the mode box's item
    const char* modeOption;
    std::vector<FieldText> fields;
    bool stopEarly = false; // Stop 100 ms after Open, answered Yes
};

// velmora-fit's wall time on the case, the best of three runs.
double fitSeconds(const WindowCase& c) {
    std::string command = std::string("'") + VELMORA_FIT + "' --mode " + c.modeOption;
    for (const FieldText& f : c.fields) {
        command += std::string(" ") + f.option + " " + f.optionValue;
    }
    command += " '" + measurement().path() + "' > /dev/null";
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            std::abort();
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// Runs the event loop for ms milliseconds.
void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void WindowRun(benchmark::State& state, WindowCase c) {
    BenchDialogs dialogs;
    VelmoraWindows windows(dialogs, std::make_unique<NoHelpBrowser>());
    windows.aboutWindow.dismiss();
    MainWindow& window = windows.mainWindow;
    window.show();
    auto* modes = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    modes->setCurrentIndex(c.modeItem);
    window.onModeChanged(c.modeItem);
    window.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(0);
    for (const FieldText& f : c.fields) {
        window.edit(f.field)->setText(QString::fromLatin1(f.windowText));
    }
    spin(200);

    const QString file = QString::fromStdString(measurement().path());
    double windowSeconds = 0.0;
    qint64 largestPause = 0;
    double stopLatencyMs = 0.0;
    int runs = 0;
    PauseMeter meter;
    for (auto _ : state) {
        QEventLoop ended;
        QObject::connect(&window, &MainWindow::runEnded, &ended, &QEventLoop::quit);
        dialogs.askedAtNs = -1;
        qint64 stoppedAtNs = -1;
        if (c.stopEarly) {
            QTimer::singleShot(100, &window, [&] {
                stoppedAtNs = dialogs.clock.nsecsElapsed();
                window.requestStop();
            });
        }
        meter.start();
        dialogs.clock.start();
        window.openFile(file);
        if (window.runGoing()) {
            ended.exec();
        }
        windowSeconds += static_cast<double>(dialogs.clock.nsecsElapsed()) * 1e-9;
        spin(100);
        meter.stop();
        largestPause = std::max(largestPause, meter.largestPauseMs());
        if (c.stopEarly) {
            if (dialogs.askedAtNs < 0) {
                state.SkipWithError("the stop question never came");
                return;
            }
            stopLatencyMs = std::max(stopLatencyMs,
                                     static_cast<double>(dialogs.askedAtNs - stoppedAtNs) * 1e-6);
        }
        ++runs;
    }
    if (!dialogs.errors.isEmpty()) {
        state.SkipWithError(dialogs.errors.constFirst().toStdString().c_str());
        return;
    }
    state.counters["largest_pause_ms"] = static_cast<double>(largestPause);
    if (c.stopEarly) {
        state.counters["stop_latency_ms"] = stopLatencyMs;
        return;
    }
    const double fit = fitSeconds(c);
    state.counters["window_s"] = windowSeconds / runs;
    state.counters["fit_s"] = fit;
    state.counters["over_fit_s"] = windowSeconds / runs - fit;
}

} // namespace

BENCHMARK_CAPTURE(WindowRun, R, WindowCase{0, "R", {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(WindowRun, GR1, WindowCase{1, "GR1", {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(WindowRun, GR2, WindowCase{2, "GR2", {}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
// The widest joint search (1000 radii up to 400 nm, 21 plasma energies,
// dampings up to 5 eV), a few tenths of a second, stopped 100 ms in and
// answered Yes.
BENCHMARK_CAPTURE(WindowRun, GR1_widest_stop,
                  WindowCase{1,
                             "GR1",
                             {{Field::N, "1000", "--steps", "1000"},
                              {Field::Rmax, "400", "--rmax", "400"},
                              {Field::WpMin, "4,5", "--wp-min", "4.5"},
                              {Field::WpMax, "7", "--wp-max", "7"},
                              {Field::GamMax, "5", "--gamma-max", "5"}},
                             true})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

int main(int argc, char** argv) {
    // The window needs no screen: Qt's offscreen platform unless one is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
