// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's widget tree: menu, tool bar, the parameter column and the
// four pages with their charts, splitters and memo fields.
#include "ui/ChartPanel.h"
#include "ui/MainWindow.h"
#include "ui/MemoField.h"
#include "ui/SeriesColours.h"
#include "ui/TableField.h"
#include "ui/WindowDrawing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace velmora::ui {

namespace {

const QString omegaP = QStringLiteral("ω<sub>p</sub>");
const QString gamma = QStringLiteral("γ");

QLabel* richLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::RichText);
    return label;
}

QSplitter* makeSplitter(const QString& name, Qt::Orientation orientation) {
    auto* splitter = new QSplitter(orientation);
    splitter->setObjectName(name);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

QWidget* makePanel(const QString& name) {
    auto* panel = new QWidget;
    panel->setObjectName(name);
    return panel;
}

// A panel holding one widget edge to edge.
QWidget* wrap(const QString& name, QWidget* content) {
    QWidget* panel = makePanel(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return panel;
}

// A series of the run's results over time or radius; name is what the legend
// and the tooltip call it.
QLineSeries* lineSeries(const QString& objectName, const QString& name, int width, bool marks) {
    auto* series = new QLineSeries;
    series->setObjectName(objectName);
    series->setName(name);
    QPen pen = series->pen();
    pen.setWidth(width);
    series->setPen(pen);
    series->setPointsVisible(marks);
    // Marks small enough for the line between them to show (a line series
    // takes the size as the radius).
    series->setMarkerSize(2.0);
    return series;
}

Polarisation channelPolarisation(int channel) {
    return channel % 2 == 0 ? Polarisation::V : Polarisation::H;
}

// A dashed line of a value's standard-error band.
QLineSeries* bandSeries(const QString& objectName, const QString& name) {
    auto* series = new QLineSeries;
    series->setObjectName(objectName);
    series->setName(name);
    QPen pen(QColor(200, 0, 0, 140));
    pen.setStyle(Qt::DashLine);
    pen.setWidth(1);
    series->setPen(pen);
    return series;
}

QString seriesName(int number) {
    return QStringLiteral("Series%1").arg(number);
}

} // namespace

QLineEdit* MainWindow::makeEdit(Field field) {
    const int number = static_cast<int>(field);
    auto* edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edits_.at(number) = edit;
    return edit;
}

void MainWindow::addChartSeries(ChartPanel* chart, SeriesId id, QXYSeries* series) {
    chart->addSeries(series);
    series_[id] = series;
    drawing_->registerSeries(id, series, chart);
}

void MainWindow::addErrorBand(ChartPanel* chart, SeriesId low, SeriesId high,
                              const QString& quantity) {
    addChartSeries(
        chart, low,
        bandSeries(quantity + QStringLiteral("Low"), quantity + QStringLiteral(" - SE")));
    addChartSeries(
        chart, high,
        bandSeries(quantity + QStringLiteral("High"), quantity + QStringLiteral(" + SE")));
}

void MainWindow::buildActions() {
    QStyle* style = QApplication::style();
    openAction_ =
        new QAction(style->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Open"), this);
    openAction_->setObjectName(QStringLiteral("ACOpen"));
    openAction_->setToolTip(QStringLiteral("Open data file"));
    goAction_ = new QAction(style->standardIcon(QStyle::SP_MediaPlay), QStringLiteral("Go"), this);
    goAction_->setObjectName(QStringLiteral("ACGo"));
    goAction_->setToolTip(QStringLiteral("Go fitting"));
    stopAction_ =
        new QAction(style->standardIcon(QStyle::SP_MediaStop), QStringLiteral("Stop"), this);
    stopAction_->setObjectName(QStringLiteral("ACStop"));
    stopAction_->setToolTip(QStringLiteral("Stop fitting"));
    enterAction_ = new QAction(QStringLiteral("Enter"), this);
    enterAction_->setObjectName(QStringLiteral("ACEnter"));
    enterAction_->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    enterAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(enterAction_);

    connect(openAction_, &QAction::triggered, this, &MainWindow::openAndRun);
    connect(goAction_, &QAction::triggered, this, &MainWindow::startRun);
    connect(stopAction_, &QAction::triggered, this, &MainWindow::requestStop);
    connect(enterAction_, &QAction::triggered, this, &MainWindow::onEnterKey);

    openFileAction_ = new QAction(QStringLiteral("Open file…"), this);
    openFileAction_->setObjectName(QStringLiteral("ACOpenFile"));
    openFileAction_->setShortcut(QKeySequence::Open);
    connect(openFileAction_, &QAction::triggered, this, &MainWindow::chooseAndOpenFile);
}

void MainWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addAction(openAction_);
    file->addAction(openFileAction_);
    QAction* demo = file->addAction(QStringLiteral("Open demo measurement"));
    demo->setObjectName(QStringLiteral("OpenDemo1"));
    connect(demo, &QAction::triggered, this, &MainWindow::openDemoMeasurement);
    recentMenu_ = file->addMenu(QStringLiteral("Recent files"));
    recentMenu_->setObjectName(QStringLiteral("RecentFiles1"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentFilesMenu);
    file->addSeparator();
    QAction* save = file->addAction(QStringLiteral("Save"));
    save->setObjectName(QStringLiteral("Save1"));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &MainWindow::saveResultTable);
    QAction* saveCsv = file->addAction(QStringLiteral("Save as CSV…"));
    saveCsv->setObjectName(QStringLiteral("SaveCsv1"));
    connect(saveCsv, &QAction::triggered, this, &MainWindow::saveTidyTable);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &MainWindow::requestExit);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("Options1"));
    QAction* evaluate = options->addAction(QStringLiteral("Evaluate I(r)"));
    evaluate->setObjectName(QStringLiteral("EvaluateIr1"));
    connect(evaluate, &QAction::triggered, this, &MainWindow::showIntensityWindow);

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    helpMenu->setObjectName(QStringLiteral("HelpMenu1"));
    QAction* help = helpMenu->addAction(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, &MainWindow::showHelpWindow);
    QAction* about = helpMenu->addAction(QStringLiteral("About Velmora"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &MainWindow::showAboutWindow);
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addAction(openAction_);
    QAction* save = bar->addAction(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton),
                                   QStringLiteral("Save"));
    save->setObjectName(QStringLiteral("ToolButton2"));
    save->setToolTip(QStringLiteral("Save the result table"));
    connect(save, &QAction::triggered, this, &MainWindow::saveResultTable);
    bar->addSeparator();
    bar->addAction(goAction_);
    bar->addAction(stopAction_);
}

QWidget* MainWindow::buildParameterColumn() {
    auto* experimental = new QGroupBox(QStringLiteral("Experimental parameters"));
    experimental->setObjectName(QStringLiteral("GroupBox1"));
    auto* wavelengths = new QFormLayout(experimental);
    for (int k = 1; k <= 4; ++k) {
        wavelengths->addRow(richLabel(QStringLiteral("λ<sub>%1</sub> (nm)").arg(k)),
                            makeEdit(lambdaField(k)));
    }

    modelBox_ = new QComboBox;
    modelBox_->setObjectName(QStringLiteral("ComboBox2"));
    modelBox_->addItems({QStringLiteral("Drude"), QStringLiteral("Lorents")});
    modelBox_->setPlaceholderText(QStringLiteral("Dielecric function"));
    modelBox_->setCurrentIndex(-1);
    modeBox_ = new QComboBox;
    modeBox_->setObjectName(QStringLiteral("ComboBox1"));
    modeBox_->addItems({QStringLiteral("R"), QStringLiteral("G, R (I)"),
                        QStringLiteral("G, R (II)"), QStringLiteral(" "),
                        QStringLiteral("G, R (III)")});
    modeBox_->setPlaceholderText(QStringLiteral("Fitting parameters"));
    modeBox_->setCurrentIndex(-1);
    connect(modeBox_, &QComboBox::activated, this, &MainWindow::onModeChanged);

    radiusModePanel_ = makePanel(QStringLiteral("Panel2"));
    auto* fixed = new QFormLayout(radiusModePanel_);
    fixed->setContentsMargins(0, 0, 0, 0);
    fixed->addRow(richLabel(omegaP + QStringLiteral(" (eV)")), makeEdit(Field::Wp));
    fixed->addRow(richLabel(gamma + QStringLiteral(" (eV)")), makeEdit(Field::Gam));

    jointRangesPanel_ = makePanel(QStringLiteral("Panel3"));
    auto* ranges = new QGridLayout(jointRangesPanel_);
    ranges->setContentsMargins(0, 0, 0, 0);
    ranges->addWidget(richLabel(omegaP), 0, 0);
    ranges->addWidget(new QLabel(QStringLiteral("min")), 0, 1);
    ranges->addWidget(makeEdit(Field::WpMin), 0, 2);
    ranges->addWidget(new QLabel(QStringLiteral("max")), 1, 1);
    ranges->addWidget(makeEdit(Field::WpMax), 1, 2);
    ranges->addWidget(richLabel(gamma), 2, 0);
    ranges->addWidget(new QLabel(QStringLiteral("min")), 2, 1);
    ranges->addWidget(makeEdit(Field::GamMin), 2, 2);
    ranges->addWidget(new QLabel(QStringLiteral("max")), 3, 1);
    ranges->addWidget(makeEdit(Field::GamMax), 3, 2);

    polarisationPanel_ = makePanel(QStringLiteral("Panel24"));
    auto* polarisation = new QGridLayout(polarisationPanel_);
    polarisation->setContentsMargins(0, 0, 0, 0);
    polarisation->addWidget(richLabel(omegaP), 0, 0);
    polarisation->addWidget(makeEdit(Field::PolWp), 0, 1, 1, 2);
    polarisation->addWidget(richLabel(gamma), 1, 0);
    polarisation->addWidget(new QLabel(QStringLiteral("min")), 1, 1);
    polarisation->addWidget(makeEdit(Field::PolGamMin), 1, 2);
    polarisation->addWidget(new QLabel(QStringLiteral("max")), 2, 1);
    polarisation->addWidget(makeEdit(Field::PolGamMax), 2, 2);

    // The three mode panels share one place; at most one is visible.
    auto* modePanels = new QWidget;
    modePanels->setObjectName(QStringLiteral("ModePanels"));
    auto* stack = new QGridLayout(modePanels);
    stack->setContentsMargins(0, 0, 0, 0);
    for (QWidget* panel : {radiusModePanel_, jointRangesPanel_, polarisationPanel_}) {
        stack->addWidget(panel, 0, 0);
    }

    auto* fit = new QGroupBox(QStringLiteral("Fit parameters"));
    fit->setObjectName(QStringLiteral("GroupBox2"));
    auto* fitLayout = new QVBoxLayout(fit);
    fitLayout->addWidget(modelBox_);
    fitLayout->addWidget(modeBox_);
    fitLayout->addWidget(modePanels);
    auto* radius = new QFormLayout;
    radius->addRow(new QLabel(QStringLiteral("Rmin")), makeEdit(Field::Rmin));
    radius->addRow(new QLabel(QStringLiteral("Rmax")), makeEdit(Field::Rmax));
    radius->addRow(new QLabel(QStringLiteral("N")), makeEdit(Field::N));
    fitLayout->addLayout(radius);

    // The particle in its medium and the spread of its sizes, which every
    // mode uses; the defaults are a sphere of one size in vacuum.
    auto* particle = new QGroupBox(QStringLiteral("Particle model"));
    particle->setObjectName(QStringLiteral("GroupBox3"));
    auto* particleLayout = new QFormLayout(particle);
    particleLayout->addRow(new QLabel(QStringLiteral("n medium")), makeEdit(Field::MediumIndex));
    particleLayout->addRow(richLabel(QStringLiteral("ε<sub>∞</sub>")), makeEdit(Field::EpsInf));
    particleLayout->addRow(new QLabel(QStringLiteral("σ min")), makeEdit(Field::SigmaMin));
    particleLayout->addRow(new QLabel(QStringLiteral("σ max")), makeEdit(Field::SigmaMax));
    refineBox_ = new QCheckBox(QStringLiteral("Refine (errors)"));
    refineBox_->setObjectName(QStringLiteral("RefineBox"));
    refineBox_->setToolTip(QStringLiteral(
        "Refine every time point's best grid values by least squares and show their standard "
        "errors as bands (mode G, R (III) always refines)"));
    particleLayout->addRow(refineBox_);
    particle->setToolTip(QStringLiteral(
        "n medium: refractive index of the medium; ε∞: background permittivity of the metal; "
        "σ: width of the log-normal spread of radii (standard deviation of ln R), searched from "
        "σ min to σ max, 0 for particles of one size"));

    auto* go = new QPushButton(QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton),
                               QStringLiteral("Go"));
    go->setObjectName(QStringLiteral("BitBtn1"));
    connect(go, &QPushButton::clicked, this, &MainWindow::startRun);

    QWidget* column = makePanel(QStringLiteral("Panel7"));
    column->setFixedWidth(144);
    // A size smaller, so that the group titles fit the narrow column.
    QFont compact = column->font();
    compact.setPointSizeF(compact.pointSizeF() * 0.9);
    column->setFont(compact);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(experimental);
    layout->addWidget(fit);
    layout->addWidget(particle);
    layout->addWidget(go);
    layout->addStretch(1);
    return column;
}

QWidget* MainWindow::buildGraphicsPage() {
    auto* experimental =
        new ChartPanel(QStringLiteral("Chart1"), QStringLiteral("Experimental data"));
    experimental->setAxisTitles(QStringLiteral("Time[s]"), QStringLiteral("Intensities [a.u.]"));
    for (int c = 0; c < 8; ++c) {
        addChartSeries(experimental, seriesAt(SeriesId::Series1, c),
                       makeMarkSeries(seriesName(c + 1), channelPolarisation(c)));
    }
    auto* radius =
        new ChartPanel(QStringLiteral("Chart2"), QStringLiteral("Evolution of claster radius"));
    radius->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("R [nm]"));
    addChartSeries(radius, SeriesId::Series9,
                   lineSeries(seriesName(9), QStringLiteral("Radius"), 1, true));
    addErrorBand(radius, SeriesId::RadiusLow, SeriesId::RadiusHigh, QStringLiteral("Radius"));
    auto* concentration = new ChartPanel(QStringLiteral("Chart3"),
                                         QStringLiteral("Evolution of claster concentration"),
                                         AxisScale::Logarithmic);
    concentration->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Concentration [a.u]"));
    addChartSeries(
        concentration, SeriesId::LineSeries2,
        lineSeries(QStringLiteral("LineSeries2"), QStringLiteral("Concentration"), 1, true));
    auto* agreement =
        new ChartPanel(QStringLiteral("Chart4"), QStringLiteral("Non-agreement factor"));
    agreement->setAxisTitles(QStringLiteral("Time [s]"), QStringLiteral("Vx [%]"));
    addChartSeries(agreement, SeriesId::LineSeries3,
                   lineSeries(QStringLiteral("LineSeries3"), QStringLiteral("Vx"), 1, true));
    charts_[static_cast<int>(WindowChart::Measured)] = experimental;
    charts_[static_cast<int>(WindowChart::Radius)] = radius;
    charts_[static_cast<int>(WindowChart::Concentration)] = concentration;
    charts_[static_cast<int>(WindowChart::Agreement)] = agreement;

    upperCharts_ = makeSplitter(QStringLiteral("Panel5"), Qt::Horizontal);
    upperCharts_->addWidget(wrap(QStringLiteral("Panel8"), experimental));
    upperCharts_->addWidget(wrap(QStringLiteral("Panel9"), radius));
    lowerCharts_ = makeSplitter(QStringLiteral("Panel6"), Qt::Horizontal);
    lowerCharts_->addWidget(wrap(QStringLiteral("Panel10"), concentration));
    lowerCharts_->addWidget(wrap(QStringLiteral("Panel11"), agreement));
    chartRows_ = makeSplitter(QStringLiteral("Panel4"), Qt::Vertical);
    chartRows_->addWidget(upperCharts_);
    chartRows_->addWidget(lowerCharts_);
    connect(upperCharts_, &QSplitter::splitterMoved, this, &MainWindow::matchLowerRowToUpper);
    connect(lowerCharts_, &QSplitter::splitterMoved, this, &MainWindow::matchUpperRowToLower);

    QWidget* page = makePanel(QStringLiteral("TabSheet1"));
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(chartRows_, 1);
    layout->addWidget(buildParameterColumn());
    return page;
}

QWidget* MainWindow::buildFitDataPage() {
    resultTable_ = new TableField(QStringLiteral("Memo1"));
    resonanceTable_ = new TableField(QStringLiteral("Memo2"));
    auto* save1 = new QPushButton(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton),
                                  QStringLiteral("Save to file"));
    save1->setObjectName(QStringLiteral("BitBtn2"));
    connect(save1, &QPushButton::clicked, this, &MainWindow::saveResultTable);
    auto* save2 = new QPushButton(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton),
                                  QStringLiteral("Save to file"));
    save2->setObjectName(QStringLiteral("BitBtn3"));
    connect(save2, &QPushButton::clicked, this, &MainWindow::saveResonanceTable);

    auto column = [](const QString& name, TableField* memo, QPushButton* button) {
        QWidget* panel = makePanel(name);
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(memo, 1);
        layout->addWidget(button, 0, Qt::AlignLeft);
        return panel;
    };
    tableHalves_ = makeSplitter(QStringLiteral("Panel12"), Qt::Horizontal);
    tableHalves_->addWidget(column(QStringLiteral("Panel13"), resultTable_, save1));
    tableHalves_->addWidget(column(QStringLiteral("Panel14"), resonanceTable_, save2));
    return wrap(QStringLiteral("TabSheet2"), tableHalves_);
}

QWidget* MainWindow::buildTimeEvolutionPage() {
    auto* plasma = new ChartPanel(QStringLiteral("Chart6"), QStringLiteral("Time evolution of Wp"));
    addChartSeries(plasma, SeriesId::Series14,
                   lineSeries(seriesName(14), QStringLiteral("Wp"), 1, true));
    auto* damping =
        new ChartPanel(QStringLiteral("Chart7"), QStringLiteral("Time evolution of gamma"));
    damping->fixYRange(0.0, 2.0, 0.1);
    addChartSeries(damping, SeriesId::Series15,
                   lineSeries(seriesName(15), QStringLiteral("Gamma"), 1, true));
    addErrorBand(plasma, SeriesId::PlasmaEnergyLow, SeriesId::PlasmaEnergyHigh,
                 QStringLiteral("Wp"));
    addErrorBand(damping, SeriesId::DampingLow, SeriesId::DampingHigh, QStringLiteral("Gamma"));
    // Series24..29 are cleared with the results and never filled.
    for (int extra = 0; extra < 6; ++extra) {
        ChartPanel* chart = extra < 3 ? plasma : damping;
        addChartSeries(chart, seriesAt(SeriesId::Series24, extra),
                       lineSeries(seriesName(24 + extra), seriesName(24 + extra), 1, true));
    }
    charts_[static_cast<int>(WindowChart::PlasmaEnergy)] = plasma;
    charts_[static_cast<int>(WindowChart::Damping)] = damping;

    plasmaChartPanel_ = wrap(QStringLiteral("Panel19"), plasma);
    dampingChartPanel_ = wrap(QStringLiteral("Panel20"), damping);
    timeEvolutionCharts_ = makeSplitter(QStringLiteral("Panel18"), Qt::Horizontal);
    timeEvolutionCharts_->addWidget(plasmaChartPanel_);
    timeEvolutionCharts_->addWidget(dampingChartPanel_);
    timeEvolutionText_ = wrap(QStringLiteral("Panel17"), makeMemo(QStringLiteral("Memo3")));

    QWidget* page = makePanel(QStringLiteral("TabSheet3"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(timeEvolutionCharts_, 1);
    layout->addWidget(timeEvolutionText_);
    return page;
}

QWidget* MainWindow::buildPredictionPage() {
    auto* prediction = new ChartPanel(QStringLiteral("Chart5"),
                                      QStringLiteral("Plasmon resonances (Mie theory prediction)"));
    prediction->setAxisTitles(QStringLiteral("Radius [nm]"),
                              QStringLiteral("Intensities / Unit of area [a.u.]"));
    // Ticks no finer than 0.0001; the radius axis spans the radius grid.
    prediction->setMinimumYStep(0.0001);
    prediction->holdXToPoints();
    for (int c = 0; c < 8; ++c) {
        QLineSeries* predicted = lineSeries(seriesName(16 + c), seriesName(16 + c), 2, false);
        shapeForPolarisation(predicted, channelPolarisation(c));
        addChartSeries(prediction, seriesAt(SeriesId::Series16, c), predicted);
    }
    charts_[static_cast<int>(WindowChart::Prediction)] = prediction;
    return wrap(QStringLiteral("TabSheet4"), prediction);
}

} // namespace velmora::ui
