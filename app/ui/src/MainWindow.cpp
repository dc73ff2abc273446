// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "results/OutputFiles.h"
#include "results/TableFile.h"
#include "run/DataFiles.h"
#include "ui/ChartPanel.h"
#include "ui/Dialogs.h"
#include "ui/HelpDemo.h"
#include "ui/Intensity.h"
#include "ui/MemoField.h"
#include "ui/RunController.h"
#include "ui/SaveName.h"
#include "ui/SeriesNames.h"
#include "ui/StatusPanels.h"
#include "ui/WindowDrawing.h"

#include <QAbstractAxis>
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
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <stdexcept>

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

TForm1::TForm1(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(baseTitle());
    setAcceptDrops(true);

    statusPanels_ = new StatusPanels;
    setStatusBar(statusPanels_);
    drawing_ = std::make_unique<WindowDrawing>(*statusPanels_);

    buildActions();
    buildMenu();
    buildToolBar();

    pageControl_ = new QTabWidget;
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->addTab(buildGraphicsPage(), QStringLiteral("Graphics"));
    pageControl_->addTab(buildFitDataPage(), QStringLiteral("Fit data"));
    pageControl_->addTab(buildTimeEvolutionPage(),
                         QStringLiteral("Fit parameters in dependence of time"));
    pageControl_->addTab(buildPredictionPage(),
                         QStringLiteral("Plasmon resonanses (Mie theory prediction)"));
    pageControl_->setTabVisible(timeEvolutionPage, false);
    setCentralWidget(pageControl_);
    // No mode is picked yet, so no mode panel shows.
    for (QWidget* panel : {panel2_, panel3_, panel24_}) {
        panel->hide();
    }

    for (const FieldDefault& d : kFieldDefaults) {
        edit(d.field)->setText(QString::fromUtf8(d.text.data(), qsizetype(d.text.size())));
    }
    for (ChartPanel* chart : charts_) {
        if (chart != nullptr) {
            chart->setDialogs(&dialogs_);
            connect(chart, &ChartPanel::valueUnderCursor, this, &TForm1::showChartValue);
            connect(chart, &ChartPanel::cursorLeft, statusPanels_,
                    [this] { statusPanels_->showReadout({}); });
        }
    }

    drawing_->registerMemo(MemoId::Memo1, memo1_);
    drawing_->registerMemo(MemoId::Memo2, memo2_);
    run_ = std::make_unique<RunController>(*drawing_,
                                           [this] { return dialogs_.stopConfirmation(this); });
    connect(run_.get(), &RunController::finished, this, &TForm1::onRunFinished);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);
    timer1_->start();

    // Client area 725 x 502, centred on the screen.
    resize(725, 502);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

TForm1::~TForm1() = default;

QString TForm1::baseTitle() {
    return QStringLiteral("Velmora (demo version)");
}

void TForm1::attachCompanions(TForm2& intensity, TForm4& help) {
    intensity_ = &intensity;
    help_ = &help;
    for (int c = 0; c < 8; ++c) {
        drawing_->registerSeries(seriesAt(SeriesId::IntensitySeries1, c), intensity.series(c),
                                 intensity.chart());
    }
    drawing_->registerMemo(MemoId::IntensityMemo1, intensity.memo1());
    drawing_->registerMemo(MemoId::IntensityMemo2, intensity.memo2());
    intensity.chart()->setDialogs(&dialogs_);
    // The curves are named from the start, for the default wavelengths.
    nameSeriesFor(snapshotInputs());
}

QXYSeries* TForm1::series(SeriesId id) const {
    return series_.at(id);
}

bool TForm1::runGoing() const {
    return run_->isRunning();
}

void TForm1::FormCreate() {
    FLoaded = false;
}

void TForm1::FormResize() {
    const int chartHeight = panel4_->height();
    panel4_->setSizes({chartHeight / 2, chartHeight - chartHeight / 2});
    const int chartWidth = panel4_->width();
    panel5_->setSizes({chartWidth / 2, chartWidth - chartWidth / 2});
    const int lowerWidth = panel6_->width();
    panel6_->setSizes({lowerWidth / 2, (lowerWidth - 10) / 2});
    const int fitDataWidth = panel12_->width();
    panel12_->setSizes({fitDataWidth / 2, fitDataWidth - fitDataWidth / 2});
    const int upperWidth = panel18_->width();
    panel18_->setSizes({upperWidth / 2, upperWidth - upperWidth / 2});
    panel8Width_ = panel5_->sizes().value(0);
    panel10Width_ = panel6_->sizes().value(0);
}

// Moving one row's divider gives the other row's left chart the width the
// moved chart had before.
void TForm1::Panel8CanResize() {
    const int previous = panel8Width_;
    panel8Width_ = panel5_->sizes().value(0);
    panel10Width_ = previous;
    panel6_->setSizes({previous, panel6_->width() - previous});
}

void TForm1::Panel10CanResize() {
    const int previous = panel10Width_;
    panel10Width_ = panel6_->sizes().value(0);
    panel8Width_ = previous;
    panel5_->setSizes({previous, panel5_->width() - previous});
}

void TForm1::Timer1Timer() {
    statusPanels_->setPanelText(0, QLocale().toString(QTime::currentTime(), clockFormat()));
}

void TForm1::ComboBox1Change(int index) {
    if (index < 0 || index > 2) {
        return;
    }
    // Mode "G, R (I)" reads its ranges from Panel3, so that is the panel it
    // shows; Panel24 belongs to mode "G, R (II)".
    panel2_->setVisible(index == 0);
    panel3_->setVisible(index == 1);
    panel24_->setVisible(index == 2);
    pageControl_->setTabVisible(timeEvolutionPage, index != 0);
    if (index == 0) {
        return;
    }
    panel17_->hide();
    // Mode "G, R (I)" fits the plasma energy too: its chart shows beside the
    // damping's.
    panel19_->setVisible(index == 1);
    panel20_->show();
    const QFont axisFont = timesFont();
    ChartPanel* plasma = charts_[6];
    ChartPanel* damping = charts_[7];
    plasma->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Wp [eV]"));
    damping->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Gam [eV]"));
    for (ChartPanel* chart : {plasma, damping}) {
        chart->xAxis()->setTitleFont(axisFont);
        chart->yAxis()->setTitleFont(axisFont);
    }
}

void TForm1::ACOpenExecute() {
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    dataFile_.clear();
    openDialogFileName_.clear();
    setWindowTitle(baseTitle());
    FLoaded = true;
    ACGoExecute();
}

void TForm1::ACOpenFileExecute() {
    const QString path = dialogs_.openFileName(this);
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void TForm1::OpenDemo1Click() {
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

void TForm1::openFile(const QString& path) {
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    dataFile_ = path;
    // The save buttons suggest names from the opened file's.
    openDialogFileName_ = path;
    recentFiles_.remember(path);
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - ") + baseTitle());
    FLoaded = true;
    ACGoExecute();
}

QString TForm1::dataFile() const {
    return dataFile_.isEmpty() ? QString::fromStdString(FieldInputs{}.dataFile) : dataFile_;
}

void TForm1::fillRecentFilesMenu() {
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

void TForm1::Save1Click() {
    BitBtn2Click();
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::ACGoExecute() {
    if (!FLoaded) {
        dialogs_.information(this, QStringLiteral("Not load data!"));
        return;
    }
    if (run_->isRunning()) {
        refuseDuringRun();
        return;
    }
    statusPanels_->showNote({});
    markField(nullptr);
    const FieldInputs inputs = snapshotInputs();
    nameSeriesFor(inputs);
    run_->start(inputs);
}

void TForm1::ACEnterExecute() {
    ACGoExecute();
}

void TForm1::ACStopExecute() {
    run_->stop();
}

void TForm1::EvaluateIr1Click() {
    intensity_->show();
    intensity_->raise();
}

void TForm1::Help1Click() {
    help_->show();
    help_->raise();
}

void TForm1::BitBtn2Click() {
    saveMemo(memo1_, QStringLiteral("_RNV"));
}

void TForm1::BitBtn3Click() {
    saveMemo(memo2_, QStringLiteral("_WR"));
}

FieldInputs TForm1::snapshotInputs() const {
    FieldInputs inputs = FieldInputs::defaults();
    for (const FieldDefault& d : kFieldDefaults) {
        inputs.text(d.field) = edit(d.field)->text().toStdString();
    }
    inputs.fitMode = comboBox1_->currentIndex();
    inputs.dielectric = comboBox2_->currentIndex();
    inputs.dataFile = dataFile().toStdString();
    return inputs;
}

void TForm1::nameSeriesFor(const FieldInputs& inputs) {
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

void TForm1::showChartValue(QPointF value) {
    statusPanels_->showReadout(
        QStringLiteral("x = %1, y = %2").arg(value.x(), 0, 'g', 5).arg(value.y(), 0, 'g', 5));
}

void TForm1::refuseDuringRun() {
    statusPanels_->showNote(runGoingNote);
}

void TForm1::onRunFinished(const RunOutcome& outcome) {
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
void TForm1::markField(QLineEdit* field) {
    if (markedField_ != nullptr) {
        markedField_->setProperty("invalid", false);
        markedField_->setStyleSheet({});
        disconnect(markedField_, &QLineEdit::textEdited, this, nullptr);
    }
    markedField_ = field;
    if (field == nullptr) {
        return;
    }
    field->setProperty("invalid", true);
    field->setStyleSheet(QStringLiteral("QLineEdit { background-color: rgb(255, 214, 214); }"));
    connect(field, &QLineEdit::textEdited, this, [this] { markField(nullptr); });
    pageControl_->setCurrentIndex(graphicsPage);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void TForm1::saveMemo(QPlainTextEdit* memo, const QString& suffix) {
    const QString fileName =
        dialogs_.saveFileName(this, suggestedSaveName(openDialogFileName_, suffix));
    if (fileName.isEmpty()) {
        return;
    }
    try {
        // The table never replaces the measurement the runs read.
        const std::string path = fileName.toStdString();
        refuseOutputsOver({&path, 1}, snapshotInputs().dataFile);
        writeTableFile(filePath(fileName), memoLines(memo->toPlainText()));
    } catch (const std::exception& failure) {
        dialogs_.error(this, QString::fromStdString(failure.what()));
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent* event) {
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

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (!file.isEmpty()) {
        event->acceptProposedAction();
        openFile(file);
    }
}

} // namespace velmora::ui
