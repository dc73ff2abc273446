// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1, the main window: the parameter fields and mode choice, the four
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

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTimer;
class QXYSeries;

namespace velmora::ui {

class ChartPanel;
class Dialogs;
class RunController;
struct RunOutcome;
class StatusPanels;
class TForm2;
class TForm4;
class WindowDrawing;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Wires the windows the menu shows; the "Intensity results" window also
    // receives its share of every run.
    void attachCompanions(TForm2& intensity, TForm4& help);

    // Handlers, named after their component and event.
    void FormCreate();
    void FormResize();
    void Timer1Timer();
    void ComboBox1Change(int index);
    void ACOpenExecute();
    void ACGoExecute();
    void ACEnterExecute();
    void ACStopExecute();
    void EvaluateIr1Click();
    void Help1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // File -> "Open file…": the user picks the measurement file.
    void ACOpenFileExecute();
    // File -> "Open demo measurement": the installed demo file.
    void OpenDemo1Click();
    // File -> Save and the tool bar's save button: saves the result table
    // as its "Save to file" button does.
    void Save1Click();
    // File -> Exit: closes the window, asking the stop question during a run.
    void Exit1Click();

    // Makes the file the data file of this and later runs, names it in the
    // title and starts a run as Open does.
    void openFile(const QString& path);
    // The measurement file the next run reads.
    QString dataFile() const;

    bool dataLoaded() const { return FLoaded; }
    bool runGoing() const;
    // The fields a run reads, as they stand now.
    FieldInputs snapshotInputs() const;

    QLineEdit* edit(Field field) const { return edits_.at(static_cast<int>(field)); }
    ChartPanel* chartPanel(int number) const { return charts_.at(number); }
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
    void Panel8CanResize();
    void Panel10CanResize();

    void refuseDuringRun();
    void onRunFinished(const RunOutcome& outcome);
    void markField(QLineEdit* field);
    void fillRecentFilesMenu();
    void nameSeriesFor(const FieldInputs& inputs);
    void showChartValue(QPointF value);
    void saveMemo(QPlainTextEdit* memo, const QString& suffix);

    Dialogs& dialogs_;
    bool FLoaded = false;
    // OpenDialog1 is never shown; only its (empty) file name is used, by the
    // save buttons' suggested names.
    QString openDialogFileName_;
    // The measurement file chosen by the user; empty: DemoDat.txt in the
    // working directory, as Open reads it.
    QString dataFile_;
    RecentFiles recentFiles_;
    QLineEdit* markedField_ = nullptr;

    std::array<QLineEdit*, kFieldSlots> edits_{}; // by field number
    std::array<ChartPanel*, 8> charts_{};
    std::map<SeriesId, QXYSeries*> series_;
    QComboBox* comboBox1_ = nullptr;
    QComboBox* comboBox2_ = nullptr;
    QWidget* panel2_ = nullptr;
    QWidget* panel3_ = nullptr;
    QWidget* panel24_ = nullptr;
    QTabWidget* pageControl_ = nullptr;
    QSplitter* panel4_ = nullptr;
    QSplitter* panel5_ = nullptr;
    QSplitter* panel6_ = nullptr;
    QSplitter* panel12_ = nullptr;
    QSplitter* panel18_ = nullptr;
    QWidget* panel17_ = nullptr;
    QWidget* panel19_ = nullptr;
    QWidget* panel20_ = nullptr;
    int panel8Width_ = 0;
    int panel10Width_ = 0;
    QPlainTextEdit* memo1_ = nullptr;
    QPlainTextEdit* memo2_ = nullptr;
    QAction* acOpen_ = nullptr;
    QAction* acGo_ = nullptr;
    QAction* acStop_ = nullptr;
    QAction* acEnter_ = nullptr;
    QAction* acOpenFile_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QTimer* timer1_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    TForm2* intensity_ = nullptr;
    TForm4* help_ = nullptr;

    std::unique_ptr<WindowDrawing> drawing_;
    std::unique_ptr<RunController> run_;
};

} // namespace velmora::ui
