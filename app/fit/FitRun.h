// One fit run: set-up, reading and drawing of the measurement, the fit of the
// selected mode and the results stage, reported through a RunView.
#pragma once

#include "RunView.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {

// The failure of a run; what() is the message the user sees, exactly.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FitMode { None = -1, R = 0, GR1 = 1, GR2 = 2, Blank = 3 };
enum class Dielectric { None = -1, Drude = 0, Lorents = 1 };

// What a run reads from the main window, snapshotted when it starts.
struct RunInputs {
    // edit[k] is the text of the field Edit<k> (k = 1..21; edit[0] unused).
    std::array<std::string, 22> edit{};
    int fitMode = -1;    // ComboBox1 item index, -1 when none is selected
    int dielectric = -1; // ComboBox2 item index, -1 when none is selected
    std::string dataFile = "DemoDat.txt";

    // The window's default field texts, with no item selected in either box.
    static RunInputs defaults();
};

// A run's numbers: the per-time-point arrays are indexed 1..timePoints
// (element 0 is 0), Model and Norm have eight channel columns.
struct RunResult {
    bool completed = false; // false when the user stopped the run
    int timePoints = 0;
    std::vector<double> T, Rfit, Conc, VxFit, GamFit, WpFit, GamSpread;
    std::vector<std::array<double, 8>> Model; // rows 1..N (row 0 unused)
    std::vector<std::array<double, 8>> Norm;  // rows 0..timePoints
    std::vector<std::string> resultTable;     // Memo1
    std::vector<std::string> resonanceTable;  // Memo2
    std::vector<std::string> vPeakTable;      // "Intensity results" Memo1
    std::vector<std::string> hPeakTable;      // "Intensity results" Memo2
};

// How a run evaluates its fits. Direct computes every candidate of every
// search one model evaluation after another, as the fits are described; it
// is the reference. Fast computes each distinct model value of the run once
// and scores the candidates of a time point in parallel on all cores, with
// the same results, the same reports to the view and the same messages.
enum class EngineKind { Direct, Fast };

// Runs one fit. Throws RunError with the user-facing message when the run
// fails; what was reported to the view before the failure stays reported.
// The view is called only from the calling thread.
RunResult runFit(const RunInputs& inputs, RunView& view, EngineKind engine = EngineKind::Fast);

} // namespace velmora
