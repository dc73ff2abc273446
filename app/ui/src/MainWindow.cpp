// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "fit/Printable.h"
#include "results/OutputFiles.h"
#include "results/TableFile.h"
#include "run/DataFiles.h"
#include "ui/AboutWindow.h"
#include "ui/ChartPanel.h"
#include "ui/Dialogs.h"
#include "ui/HelpWindow.h"
#include "ui/IntensityWindow.h"
#include "ui/MemoField.h"
#include "ui/RunController.h"
#include "ui/SaveName.h"
#include "ui/SeriesNames.h"
#include "ui/StatusPanels.h"
#include "ui/TableField.h"
#include "ui/WindowDrawing.h"

#include <QAbstractAxis>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace velmora::ui {

namespace {

constexpr int graphicsPage = 0;
constexpr int timeEvolutionPage = 2;
const QString runGoingNote = QStringLiteral("A fit is running: wait for it to end or press Stop");

// The locale's long time format without the time-zone name, for which the
// narrow clock panel has no room.
QString clockFormat() {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

// The first local file among the dragged items, or an empty string.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

// Why the file cannot be read as a measurement without waiting, or nothing:
// only regular files are read (a missing file or a folder is left to the
// reading, which says why it cannot be opened).
QString refusalToRead(const std::string& file) {
    std::error_code error;
    const auto status = std::filesystem::status(filePath(QString::fromStdString(file)), error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status) ||
        std::filesystem::is_directory(status)) {
        return {};
    }
    return QStringLiteral("Cannot open file %1: not a regular file (a pipe, device or socket)")
        .arg(QString::fromStdString(printable(file)));
}

QString outcomeNote(const RunOutcome& outcome) {
    switch (outcome.kind) {
    case RunOutcome::Kind::Done:
        return QStringLiteral("Done in %1 s").arg(outcome.seconds, 0, 'f', 2);
    case RunOutcome::Kind::Stopped:
        return QStringLiteral("Stopped");
    case RunOutcome::Kind::Failed:
        break;
    }
    return outcome.errorMessage;
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(baseTitle());
    setAcceptDrops(true);

    statusPanels_ = new StatusPanels;
    setStatusBar(statusPanels_);
    drawing_ = std::make_unique<WindowDrawing>(*statusPanels_);

    buildActions();
    buildMenu();
    buildToolBar();

    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(buildGraphicsPage(), QStringLiteral("Graphics"));
    pages_->addTab(buildFitDataPage(), QStringLiteral("Fit data"));
    pages_->addTab(buildTimeEvolutionPage(),
                   QStringLiteral("Fit parameters in dependence of time"));
    pages_->addTab(buildPredictionPage(),
                   QStringLiteral("Plasmon resonanses (Mie theory prediction)"));
    pages_->setTabVisible(timeEvolutionPage, false);
    setCentralWidget(pages_);
    // No mode is picked yet, so no mode panel shows.
    for (QWidget* panel : {radiusModePanel_, jointRangesPanel_, polarisationPanel_}) {
        panel->hide();
    }

    for (const FieldDefault& d : kFieldDefaults) {
        edit(d.field)->setText(QString::fromUtf8(d.text.data(), qsizetype(d.text.size())));
    }
    for (ChartPanel* chart : charts_) {
        chart->setDialogs(&dialogs_);
        connect(chart, &ChartPanel::valueUnderCursor, this, &MainWindow::showChartValue);
        connect(chart, &ChartPanel::cursorLeft, statusPanels_,
                [this] { statusPanels_->showReadout({}); });
    }

    drawing_->registerMemo(MemoId::Memo1, resultTable_);
    drawing_->registerMemo(MemoId::Memo2, resonanceTable_);
    run_ = std::make_unique<RunController>(*drawing_,
                                           [this] { return dialogs_.stopConfirmation(this); });
    connect(run_.get(), &RunController::finished, this, &MainWindow::onRunFinished);

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("Timer1"));
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &MainWindow::showTime);
    clockTimer_->start();

    // Client area 725 x 502, centred on the screen.
    resize(725, 502);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

MainWindow::~MainWindow() = default;

QString MainWindow::baseTitle() {
    return QStringLiteral("Velmora (demo version)");
}

void MainWindow::attachCompanions(IntensityWindow& intensity, HelpWindow& help,
                                  AboutWindow& about) {
    intensity_ = &intensity;
    help_ = &help;
    about_ = &about;
    for (int c = 0; c < 8; ++c) {
        drawing_->registerSeries(seriesAt(SeriesId::IntensitySeries1, c), intensity.series(c),
                                 intensity.chart());
    }
    drawing_->registerMemo(MemoId::IntensityMemo1, intensity.vPeaksMemo());
    drawing_->registerMemo(MemoId::IntensityMemo2, intensity.hPeaksMemo());
    intensity.chart()->setDialogs(&dialogs_);
    // The curves are named from the start, for the default wavelengths.
    nameSeriesFor(snapshotInputs());
}

QXYSeries* MainWindow::series(SeriesId id) const {
    return series_.at(id);
}

bool MainWindow::runGoing() const {
    return run_->isRunning();
}

void MainWindow::splitAreasInHalves() {
    const int chartHeight = chartRows_->height();
    chartRows_->setSizes({chartHeight / 2, chartHeight - chartHeight / 2});
    const int chartWidth = chartRows_->width();
    upperCharts_->setSizes({chartWidth / 2, chartWidth - chartWidth / 2});
    const int lowerWidth = lowerCharts_->width();
    lowerCharts_->setSizes({lowerWidth / 2, (lowerWidth - 10) / 2});
    const int fitDataWidth = tableHalves_->width();
    tableHalves_->setSizes({fitDataWidth / 2, fitDataWidth - fitDataWidth / 2});
    const int upperWidth = timeEvolutionCharts_->width();
    timeEvolutionCharts_->setSizes({upperWidth / 2, upperWidth - upperWidth / 2});
    upperLeftWidth_ = upperCharts_->sizes().value(0);
    lowerLeftWidth_ = lowerCharts_->sizes().value(0);
}

// Moving one row's divider gives the other row's left chart the width the
// moved chart had before.
void MainWindow::matchLowerRowToUpper() {
    const int previous = upperLeftWidth_;
    upperLeftWidth_ = upperCharts_->sizes().value(0);
    lowerLeftWidth_ = previous;
    lowerCharts_->setSizes({previous, lowerCharts_->width() - previous});
}

void MainWindow::matchUpperRowToLower() {
    const int previous = lowerLeftWidth_;
    lowerLeftWidth_ = lowerCharts_->sizes().value(0);
    upperLeftWidth_ = previous;
    upperCharts_->setSizes({previous, upperCharts_->width() - previous});
}

void MainWindow::showTime() {
    statusPanels_->setPanelText(0, QLocale().toString(QTime::currentTime(), clockFormat()));
}

void MainWindow::onModeChanged(int index) {
    const auto mode = static_cast<FitMode>(index);
    if (!fitsSomething(mode)) {
        return;
    }
    // Mode "G, R (I)" reads its ranges from Panel3, so that is the panel it
    // shows; Panel24 belongs to modes "G, R (II)" and "G, R (III)".
    radiusModePanel_->setVisible(mode == FitMode::R);
    jointRangesPanel_->setVisible(mode == FitMode::GR1);
    polarisationPanel_->setVisible(mode == FitMode::GR2 || mode == FitMode::GR3);
    pages_->setTabVisible(timeEvolutionPage, mode != FitMode::R);
    if (mode == FitMode::R) {
        return;
    }
    timeEvolutionText_->hide();
    // Mode "G, R (I)" fits the plasma energy too: its chart shows beside the
    // damping's.
    plasmaChartPanel_->setVisible(mode == FitMode::GR1);
    dampingChartPanel_->show();
    const QFont axisFont = timesFont();
    ChartPanel* plasma = chart(WindowChart::PlasmaEnergy);
    ChartPanel* damping = chart(WindowChart::Damping);
    plasma->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Wp [eV]"));
    damping->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Gam [eV]"));
    for (ChartPanel* chart : {plasma, damping}) {
        chart->xAxis()->setTitleFont(axisFont);
        chart->yAxis()->setTitleFont(axisFont);
    }
}

void MainWindow::selectMode(int item) {
    modeBox_->setCurrentIndex(item);
    onModeChanged(item);
}

void MainWindow::selectModel(int item) {
    modelBox_->setCurrentIndex(item);
}

void MainWindow::openAndRun() {
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    dataFile_.clear();
    openDialogFileName_.clear();
    setWindowTitle(baseTitle());
    dataLoaded_ = true;
    startRun();
}

void MainWindow::chooseAndOpenFile() {
    const QString path = dialogs_.openFileName(this);
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void MainWindow::openDemoMeasurement() {
    const DataFileLookup lookup = findDataFile(kDemoMeasurementName);
    if (lookup.found) {
        openFile(QString::fromStdString(lookup.found->string()));
        return;
    }
    QStringList places;
    for (const auto& candidate : lookup.candidates) {
        places.append(QString::fromStdString(candidate.string()));
    }
    dialogs_.error(this, QStringLiteral("The demo measurement was not found. Looked for:\n") +
                             places.join(QLatin1Char('\n')));
}

void MainWindow::openFile(const QString& path) {
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    dataFile_ = path;
    // The save buttons suggest names from the opened file's.
    openDialogFileName_ = path;
    dataLoaded_ = true;
    startRun();
}

// The title names the file whose measurement the window shows, and only a
// file that was read goes into Recent files; a file that could not be read
// leaves the title naming none.
void MainWindow::nameDataFileAfter(const RunOutcome& outcome) {
    if (outcome.measurementRead) {
        if (!dataFile_.isEmpty()) {
            recentFiles_.remember(dataFile_);
            setWindowTitle(QFileInfo(dataFile_).fileName() + QStringLiteral(" - ") + baseTitle());
        }
    } else if (outcome.begun) {
        setWindowTitle(baseTitle());
    }
}

QString MainWindow::dataFile() const {
    return dataFile_.isEmpty() ? QString::fromStdString(FieldInputs{}.dataFile) : dataFile_;
}

void MainWindow::fillRecentFilesMenu() {
    recentMenu_->clear();
    const QStringList files = recentFiles_.list();
    if (files.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    for (const QString& file : files) {
        connect(recentMenu_->addAction(file), &QAction::triggered, this,
                [this, file] { openFile(file); });
    }
}

void MainWindow::requestExit() {
    close();
}

void MainWindow::startRun() {
    if (!dataLoaded_) {
        dialogs_.information(this, QStringLiteral("Not load data!"));
        return;
    }
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    statusPanels_->showNote({});
    statusPanels_->clearWarnings();
    markField(nullptr);
    const FieldInputs inputs = snapshotInputs();
    // Opening a FIFO or a device would wait for a writer for ever, and the
    // program could not end while the run waits.
    if (const QString refusal = refusalToRead(inputs.dataFile); !refusal.isEmpty()) {
        setWindowTitle(baseTitle());
        statusPanels_->showNote(refusal);
        dialogs_.error(this, refusal);
        return;
    }
    nameSeriesFor(inputs);
    run_->start(inputs);
}

void MainWindow::onEnterKey() {
    startRun();
}

void MainWindow::requestStop() {
    run_->stop();
}

void MainWindow::showIntensityWindow() {
    intensity_->show();
    intensity_->raise();
}

void MainWindow::showHelpWindow() {
    help_->show();
    help_->raise();
}

void MainWindow::showAboutWindow() {
    about_->showOnRequest();
}

void MainWindow::saveResultTable() {
    saveTable(resultTable_, QStringLiteral("_RNV"));
}

void MainWindow::saveResonanceTable() {
    saveTable(resonanceTable_, QStringLiteral("_WR"));
}

FieldInputs MainWindow::snapshotInputs() const {
    FieldInputs inputs = FieldInputs::defaults();
    for (const FieldDefault& d : kFieldDefaults) {
        inputs.text(d.field) = edit(d.field)->text().toStdString();
    }
    inputs.fitMode = modeBox_->currentIndex();
    inputs.dielectric = modelBox_->currentIndex();
    inputs.refine = refineBox_->isChecked();
    inputs.dataFile = dataFile().toStdString();
    return inputs;
}

void MainWindow::nameSeriesFor(const FieldInputs& inputs) {
    std::array<QXYSeries*, 8> measured{};
    std::array<QXYSeries*, 8> predicted{};
    std::array<QXYSeries*, 8> normalised{};
    for (int c = 0; c < 8; ++c) {
        measured[c] = series(seriesAt(SeriesId::Series1, c));
        predicted[c] = series(seriesAt(SeriesId::Series16, c));
        normalised[c] = intensity_ != nullptr ? intensity_->series(c) : measured[c];
    }
    for (const auto& channels : {measured, predicted, normalised}) {
        nameChannelSeries(channels, inputs);
    }
}

void MainWindow::showChartValue(QPointF value) {
    statusPanels_->showReadout(
        QStringLiteral("x = %1, y = %2").arg(value.x(), 0, 'g', 5).arg(value.y(), 0, 'g', 5));
}

void MainWindow::refuseDuringRun() {
    statusPanels_->showNote(runGoingNote);
}

void MainWindow::onRunFinished(const RunOutcome& outcome) {
    nameDataFileAfter(outcome);
    // A run that read its measurement replaced the shown result.
    if (outcome.measurementRead) {
        tidyTable_ = outcome.tidyTable;
    }
    statusPanels_->resetProgress();
    statusPanels_->showNote(outcomeNote(outcome));
    if (outcome.kind == RunOutcome::Kind::Failed) {
        dialogs_.error(this, outcome.errorMessage);
        if (outcome.field) {
            markField(edit(*outcome.field));
        }
    }
    emit runEnded();
}

// Marks the field (null: none) and puts the cursor in it; the mark goes
// when the field is edited or the next run starts.
void MainWindow::markField(QLineEdit* field) {
    if (markedField_ != nullptr) {
        markedField_->setProperty("invalid", false);
        // Back to the palette of its peers; a style sheet, set and cleared,
        // would have left the field in the application's larger font.
        markedField_->setPalette(QPalette());
        disconnect(markedField_, &QLineEdit::textEdited, this, nullptr);
    }
    markedField_ = field;
    if (field == nullptr) {
        return;
    }
    field->setProperty("invalid", true);
    QPalette marked = field->palette();
    marked.setColor(QPalette::Base, QColor(255, 214, 214));
    field->setPalette(marked);
    connect(field, &QLineEdit::textEdited, this, [this] { markField(nullptr); });
    pages_->setCurrentIndex(graphicsPage);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void MainWindow::saveTidyTable() {
    if (tidyTable_.empty()) {
        dialogs_.information(this, QStringLiteral("There is no result to save"));
        return;
    }
    saveLines(tidyTable_, suggestedSaveName(openDialogFileName_, QStringLiteral(".csv")));
}

// The table is saved as the run reported it (the result's lines), whatever
// the view shows.
void MainWindow::saveTable(const TableField* table, const QString& suffix) {
    if (table->text().isEmpty()) {
        dialogs_.information(this, QStringLiteral("The table is empty: there is nothing to save"));
        return;
    }
    saveLines(memoLines(table->text()), suggestedSaveName(openDialogFileName_, suffix));
}

// Asks where, then writes the lines in the saved-file format (CR LF).
void MainWindow::saveLines(const std::vector<std::string>& lines, const QString& suggestedName) {
    const QString fileName = dialogs_.saveFileName(this, suggestedName);
    if (fileName.isEmpty()) {
        return;
    }
    try {
        // A saved table never replaces the measurement the runs read.
        const std::string path = fileName.toStdString();
        refuseOutputsOver({&path, 1}, snapshotInputs().dataFile);
        writeTableFile(filePath(fileName), lines);
    } catch (const std::exception& failure) {
        dialogs_.error(this, QString::fromStdString(failure.what()));
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    splitAreasInHalves();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Exit during a run always asks, also while the end of a finished fit is
    // still being drawn; Yes ends the fit at its next stop test.
    if (run_->isRunning()) {
        if (!dialogs_.stopConfirmation(this)) {
            event->ignore();
            return;
        }
        run_->abandon();
    }
    QMainWindow::closeEvent(event);
    emit closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (!file.isEmpty()) {
        event->acceptProposedAction();
        openFile(file);
    }
}

} // namespace velmora::ui
