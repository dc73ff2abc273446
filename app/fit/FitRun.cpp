#include "FitRun.h"

#include "DataFile.h"
#include "DirectScans.h"
#include "FastScans.h"
#include "Fits.h"
#include "Numbers.h"
#include "ResultsStage.h"
#include "RunState.h"
#include "Search.h"

namespace velmora {

namespace {

// The window's default field texts, by field number.
struct DefaultText {
    int field;
    std::string_view text;
};
constexpr DefaultText kDefaultTexts[] = {
    {1, "457,9"}, {2, "514,5"}, {3, "568,2"}, {4, "647,1"}, {5, "5,6"},  {6, "1"},
    {7, "5,6"},   {8, "20"},    {9, "200"},   {10, "200"},  {11, "5,6"}, {12, "0"},
    {13, "2"},    {18, "5,6"},  {20, "0"},    {21, "2"},
};

} // namespace

RunInputs RunInputs::defaults() {
    RunInputs inputs;
    for (const DefaultText& d : kDefaultTexts) {
        inputs.edit[d.field] = d.text;
    }
    return inputs;
}

namespace {

// The run parameters, parsed in the order Edit1..Edit4, Edit8, Edit9, Edit11,
// Edit7, Edit13, Edit12 (decimals), Edit10 (integer).
RunParameters parseRunParameters(const RunInputs& in) {
    RunParameters p;
    for (int k = 1; k <= kWavelengths; ++k) {
        p.Lambda[k] = parseDecimal(in.edit[k]);
    }
    p.Rmin = parseDecimal(in.edit[8]);
    p.Rmax = parseDecimal(in.edit[9]);
    p.WpMax = parseDecimal(in.edit[11]);
    p.WpMin = parseDecimal(in.edit[7]);
    p.GamMax = parseDecimal(in.edit[13]);
    p.GamMin = parseDecimal(in.edit[12]);
    p.N = parseInteger(in.edit[10]);
    if (p.N > kMaxRadiusSteps) {
        std::string message = "N = ";
        message += std::to_string(p.N);
        message += " exceeds the limit of " + std::to_string(kMaxRadiusSteps) + " radius steps";
        throw RunError(message);
    }
    p.dR = gridStep(p.Rmin, p.Rmax, p.N);
    p.W0 = in.dielectric == static_cast<int>(Dielectric::Lorents) ? kLorentsResonance
                                                                  : kDrudeResonance;
    return p;
}

void allocateResults(RunResult& r, int points, int n) {
    r.timePoints = points;
    for (std::vector<double>* a :
         {&r.T, &r.Rfit, &r.Conc, &r.VxFit, &r.GamFit, &r.WpFit, &r.GamSpread}) {
        a->assign(points + 1, 0.0);
    }
    r.Model.assign(std::max(n, 0) + 1, {});
    r.Norm.assign(points + 1, {});
}

void drawMeasuredData(RunState& run) {
    for (int c = 0; c < 2 * kWavelengths; ++c) {
        run.view.clearSeries(seriesAt(SeriesId::Series1, c));
    }
    for (int k = 1; k <= kWavelengths; ++k) {
        std::vector<ChartPoint> v;
        std::vector<ChartPoint> h;
        for (int t = 1; t <= run.timePoints(); ++t) {
            v.push_back({run.result.T[t], run.measuredV(t, k), wavelengthColour(k)});
            h.push_back({run.result.T[t], run.measuredH(t, k), wavelengthColour(k)});
        }
        run.view.addPoints(seriesAt(SeriesId::Series1, 2 * k - 2), v);
        run.view.addPoints(seriesAt(SeriesId::Series1, 2 * k - 1), h);
    }
}

void clearResultSeries(RunView& view) {
    view.clearSeries(SeriesId::LineSeries2);
    view.clearSeries(SeriesId::LineSeries3);
    view.clearSeries(SeriesId::Series9);
    view.clearSeries(SeriesId::Series14);
    view.clearSeries(SeriesId::Series15);
    for (int c = 0; c < 8; ++c) {
        view.clearSeries(seriesAt(SeriesId::Series16, c));
    }
    for (int c = 0; c < 6; ++c) {
        view.clearSeries(seriesAt(SeriesId::Series24, c));
    }
}

bool isFitMode(int mode) {
    return mode == static_cast<int>(FitMode::R) || mode == static_cast<int>(FitMode::GR1) ||
           mode == static_cast<int>(FitMode::GR2);
}

template <typename Scans> void runModeFit(RunState& run, Scans& scans) {
    switch (static_cast<FitMode>(run.inputs.fitMode)) {
    case FitMode::R:
        runRadiusFit(run, scans);
        break;
    case FitMode::GR1:
        runFreePlasmaFit(run, scans);
        break;
    case FitMode::GR2:
        runPolarizationFit(run, scans);
        break;
    default:
        break;
    }
}

void runSelectedFit(RunState& run, EngineKind engine) {
    if (!isFitMode(run.inputs.fitMode)) {
        return;
    }
    if (engine == EngineKind::Direct) {
        DirectScans scans;
        runModeFit(run, scans);
    } else {
        FastScans scans(run.params);
        runModeFit(run, scans);
    }
}

} // namespace

RunResult runFit(const RunInputs& inputs, RunView& view, EngineKind engine) {
    view.setRunFlag();
    view.clearMemo(MemoId::Memo1);
    RunState run{inputs, view, parseRunParameters(inputs), {}, {}};
    run.table = ReadDataFile(inputs.dataFile);
    allocateResults(run.result, run.table.lineCount(), run.params.N);
    for (int t = 1; t <= run.timePoints(); ++t) {
        run.result.T[t] = run.table.field(t - 1, 1);
    }
    drawMeasuredData(run);
    clearResultSeries(view);
    if (isFitMode(inputs.fitMode) && inputs.dielectric == static_cast<int>(Dielectric::None)) {
        throw RunError("Choose a dielectric function (Drude or Lorents) before fitting");
    }
    try {
        runSelectedFit(run, engine);
    } catch (const RunStopped&) {
        run.result.completed = false;
        return std::move(run.result);
    }
    runResultsStage(run);
    run.result.completed = true;
    return std::move(run.result);
}

} // namespace velmora
