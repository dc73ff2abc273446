// SPDX-License-Identifier: GPL-3.0-or-later
// MainWindow, the main window: the parameter fields and mode choice, the four
// result pages with their charts and tables, menu, tool bar and status bar,
// and the actions that start, refuse and stop fit runs.
#pragma once

#include "run/FitRun.h"
#include "ui/RecentFiles.h"
#include "ui/RunDrawing.h"

#include <QMainWindow>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTimer;
class QXYSeries;

namespace velmora::ui {

class AboutWindow;
class ChartPanel;
class Dialogs;
class RunController;
struct RunOutcome;
class StatusPanels;
class TableField;
class IntensityWindow;
class HelpWindow;
class WindowDrawing;

// The charts of the main window by what they show, in the order of their
// object names "Chart1".."Chart7".
enum class WindowChart {
    Measured,      // "Experimental data"
    Radius,        // "Evolution of claster radius"
    Concentration, // "Evolution of claster concentration"
    Agreement,     // "Non-agreement factor"
    Prediction,    // "Plasmon resonances (Mie theory prediction)"
    PlasmaEnergy,  // "Time evolution of Wp"
    Damping,       // "Time evolution of gamma"
};
inline constexpr int kWindowCharts = 7;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Wires the windows the menu shows; the "Intensity results" window also
    // receives its share of every run.
    void attachCompanions(IntensityWindow& intensity, HelpWindow& help, AboutWindow& about);

    // Halves the chart rows, the chart columns and the two pages' halves
    // (the window was resized).
    void splitAreasInHalves();
    // The status bar's clock (every second).
    void showTime();
    // The user picked item `index` of the mode box: the mode's panel and the
    // time-evolution page.
    void onModeChanged(int index);
    // File -> Open: marks the data opened and starts a run on DemoDat.txt of
    // the working directory.
    void openAndRun();
    // Go (tool bar, the "Go" button): starts a run, or refuses one before
    // any Open ("Not load data!") or while a run is going.
    void startRun();
    // The Enter key: as Go.
    void onEnterKey();
    // Stop: clears the run flag; the run asks the stop question at its next
    // stop test.
    void requestStop();
    // Options -> "Evaluate I(r)" and the "Help" menu: the companion windows.
    void showIntensityWindow();
    void showHelpWindow();
    // Help -> About.
    void showAboutWindow();
    // The "Save to file" buttons of the two tables; File -> Save and the
    // tool bar's save button save the result table.
    void saveResultTable();
    void saveResonanceTable();
    // File -> "Save as CSV…": the last result in tidy form, for programs.
    void saveTidyTable();
    // File -> "Open file…": the user picks the measurement file.
    void chooseAndOpenFile();
    // File -> "Open demo measurement": the installed demo file.
    void openDemoMeasurement();
    // File -> Exit: closes the window, asking the stop question during a run.
    void requestExit();

    // Select an item of the mode box (as the user picks it) or of the
    // dielectric function box; -1 selects none.
    void selectMode(int item);
    void selectModel(int item);

    // Makes the file the data file of this and later runs, names it in the
    // title and starts a run as Open does.
    void openFile(const QString& path);
    // The measurement file the next run reads.
    QString dataFile() const;

    bool dataLoaded() const { return dataLoaded_; }
    bool runGoing() const;
    // The fields a run reads, as they stand now.
    FieldInputs snapshotInputs() const;

    QLineEdit* edit(Field field) const { return edits_.at(static_cast<int>(field)); }
    ChartPanel* chart(WindowChart which) const { return charts_.at(static_cast<int>(which)); }
    QXYSeries* series(SeriesId id) const;
    StatusPanels* statusPanels() const { return statusPanels_; }
    QMenu* recentFilesMenu() const { return recentMenu_; }
    // The window's own caption, before any file is named in it.
    static QString baseTitle();
    RunController& runController() const { return *run_; }

signals:
    void closed();
    // A run has ended and what it reported is drawn (and any error shown).
    void runEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Construction of the widget tree (MainWindowLayout.cpp).
    void buildActions();
    void buildMenu();
    void buildToolBar();
    QWidget* buildGraphicsPage();
    QWidget* buildParameterColumn();
    QWidget* buildFitDataPage();
    QWidget* buildTimeEvolutionPage();
    QWidget* buildPredictionPage();
    QLineEdit* makeEdit(Field field);
    void addChartSeries(ChartPanel* chart, SeriesId id, QXYSeries* series);
    // The dashed lines of a value's standard errors, named after quantity.
    void addErrorBand(ChartPanel* chart, SeriesId low, SeriesId high, const QString& quantity);
    void matchLowerRowToUpper();
    void matchUpperRowToLower();

    void refuseDuringRun();
    void onRunFinished(const RunOutcome& outcome);
    void nameDataFileAfter(const RunOutcome& outcome);
    void markField(QLineEdit* field);
    void fillRecentFilesMenu();
    void nameSeriesFor(const FieldInputs& inputs);
    void showChartValue(QPointF value);
    void saveTable(const TableField* table, const QString& suffix);
    void saveLines(const std::vector<std::string>& lines, const QString& suggestedName);

    Dialogs& dialogs_;
    bool dataLoaded_ = false;
    // OpenDialog1 is never shown; only its (empty) file name is used, by the
    // save buttons' suggested names.
    QString openDialogFileName_;
    // The measurement file chosen by the user; empty: DemoDat.txt in the
    // working directory, as Open reads it.
    QString dataFile_;
    RecentFiles recentFiles_;
    QLineEdit* markedField_ = nullptr;

    std::array<QLineEdit*, kFieldSlots> edits_{}; // by field number
    std::array<ChartPanel*, kWindowCharts> charts_{};
    std::map<SeriesId, QXYSeries*> series_;
    QComboBox* modeBox_ = nullptr;
    QCheckBox* refineBox_ = nullptr;
    QComboBox* modelBox_ = nullptr;
    QWidget* radiusModePanel_ = nullptr;
    QWidget* jointRangesPanel_ = nullptr;
    QWidget* polarisationPanel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QSplitter* chartRows_ = nullptr;
    QSplitter* upperCharts_ = nullptr;
    QSplitter* lowerCharts_ = nullptr;
    QSplitter* tableHalves_ = nullptr;
    QSplitter* timeEvolutionCharts_ = nullptr;
    QWidget* timeEvolutionText_ = nullptr;
    QWidget* plasmaChartPanel_ = nullptr;
    QWidget* dampingChartPanel_ = nullptr;
    int upperLeftWidth_ = 0;
    int lowerLeftWidth_ = 0;
    // The shown result in tidy form; empty while no result is shown.
    std::vector<std::string> tidyTable_;
    TableField* resultTable_ = nullptr;
    TableField* resonanceTable_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* goAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* enterAction_ = nullptr;
    QAction* openFileAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    IntensityWindow* intensity_ = nullptr;
    HelpWindow* help_ = nullptr;
    AboutWindow* about_ = nullptr;

    std::unique_ptr<WindowDrawing> drawing_;
    std::unique_ptr<RunController> run_;
};

} // namespace velmora::ui
