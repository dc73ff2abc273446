#include "ui/MainWindow.h"

#include "results/OutputFiles.h"
#include "results/TableFile.h"
#include "ui/ChartPanel.h"
#include "ui/Dialogs.h"
#include "ui/HelpDemo.h"
#include "ui/Intensity.h"
#include "ui/MemoField.h"
#include "ui/RunController.h"
#include "ui/SaveName.h"
#include "ui/StatusPanels.h"
#include "ui/WindowDrawing.h"

#include <QAbstractAxis>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <stdexcept>

namespace velmora::ui {

namespace {

constexpr int timeEvolutionPage = 2;
const QString runGoingNote = QStringLiteral("A fit is running: wait for it to end or press Stop");

// The locale's long time format without the time-zone name, for which the
// narrow clock panel has no room.
QString clockFormat() {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora (demo version)"));

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

void TForm1::attachCompanions(TForm2& intensity, TForm4& help) {
    intensity_ = &intensity;
    help_ = &help;
    for (int c = 0; c < 8; ++c) {
        drawing_->registerSeries(seriesAt(SeriesId::IntensitySeries1, c), intensity.series(c),
                                 intensity.chart());
    }
    drawing_->registerMemo(MemoId::IntensityMemo1, intensity.memo1());
    drawing_->registerMemo(MemoId::IntensityMemo2, intensity.memo2());
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
    panel19_->hide();
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
    FLoaded = true;
    ACGoExecute();
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
    run_->start(snapshotInputs());
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

RunInputs TForm1::snapshotInputs() const {
    RunInputs inputs = RunInputs::defaults();
    for (const FieldDefault& d : kFieldDefaults) {
        inputs.text(d.field) = edit(d.field)->text().toStdString();
    }
    inputs.fitMode = comboBox1_->currentIndex();
    inputs.dielectric = comboBox2_->currentIndex();
    return inputs;
}

void TForm1::refuseDuringRun() {
    statusPanels_->showNote(runGoingNote);
}

void TForm1::onRunFinished(const QString& errorMessage) {
    if (!errorMessage.isEmpty()) {
        dialogs_.error(this, errorMessage);
    }
    emit runEnded();
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
    QMainWindow::closeEvent(event);
    emit closed();
}

} // namespace velmora::ui
