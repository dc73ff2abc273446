// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ResultsStage.h"

#include "fit/Fits.h"
#include "fit/Numbers.h"
#include "fit/Search.h"

namespace velmora {

namespace {

constexpr double kNormFactorV = 3.14;
constexpr double kNormFactorH = 4.13;
// The peak search leaves out the last time points.
constexpr int kPeakTail = 30;

constexpr Colour kPredictionColours[] = {Colour::Blue, Colour::Aqua,   Colour::Green,
                                         Colour::Teal, Colour::Yellow, Colour::Lime,
                                         Colour::Red,  Colour::Purple};

// The fields joined by single TAB characters.
std::string tabJoined(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (&field != fields.begin()) {
            line += '\t';
        }
        line += field;
    }
    return line;
}

// Norm[t]: each measured intensity over its factor times Rfit[t]^2 * Conc[t];
// zeros for a time point without a radius or a concentration.
void normaliseIntensities(RunState& run) {
    RunResult& r = run.result;
    for (int t = 1; t <= run.timePoints(); ++t) {
        if (r.Conc[t] == 0.0 || r.Rfit[t] == 0.0) {
            continue;
        }
        double radius = r.Rfit[t];
        double conc = r.Conc[t];
        Measured m = run.measuredAt(t);
        clearFpFlags();
        pinFp(radius, conc, m);
        std::array<double, 8> norm{};
        for (int k = 0; k < kWavelengths; ++k) {
            norm[2 * k + 1] = m.ih[k] / (kNormFactorH * (radius * radius) * conc);
            norm[2 * k] = m.iv[k] / (kNormFactorV * (radius * radius) * conc);
        }
        throwIfFpFault(norm);
        r.Norm[t] = norm;
    }
}

void drawPrediction(RunState& run) {
    const RunParameters& p = run.params;
    for (int c = 0; c < 8; ++c) {
        std::vector<ChartPoint> points;
        for (int i = 1; i <= p.N; ++i) {
            points.push_back(
                {gridValue(p.Rmin, i - 1, p.dR), run.result.Model[i][c], kPredictionColours[c]});
        }
        run.view.addPoints(seriesAt(SeriesId::Series16, c), points);
    }
}

void drawNormalised(RunState& run) {
    const RunResult& r = run.result;
    for (int c = 0; c < 8; ++c) {
        run.view.clearSeries(seriesAt(SeriesId::IntensitySeries1, c));
    }
    for (int c = 0; c < 8; ++c) {
        std::vector<ChartPoint> points;
        for (int t = 2; t <= run.timePoints(); ++t) {
            points.push_back({r.Rfit[t], r.Norm[t][c], wavelengthColour(c / 2 + 1)});
        }
        run.view.addPoints(seriesAt(SeriesId::IntensitySeries1, c), points);
    }
}

// The time point (from 0) of the strictly largest positive value of one Norm
// column, searched over t = 0..timePoints - 30; 0 when none is positive.
int peakIndex(const RunState& run, int column) {
    double maximum = 0.0;
    int index = 0;
    for (int t = 0; t <= run.timePoints() - kPeakTail; ++t) {
        if (run.result.Norm[t][column] > maximum) {
            maximum = run.result.Norm[t][column];
            index = t;
        }
    }
    return index;
}

void writePeakTables(RunState& run) {
    RunResult& r = run.result;
    for (int k = 1; k <= kWavelengths; ++k) {
        double lambda = run.params.Lambda[k];
        clearFpFlags();
        pinFp(lambda);
        double w = photonEnergy(lambda);
        throwIfFpFault(w);
        const std::string wText = formatFixed(w, 3);
        const std::string v = formatFixed(r.Rfit[peakIndex(run, 2 * k - 2)], 3);
        const std::string h = formatFixed(r.Rfit[peakIndex(run, 2 * k - 1)], 3);
        r.ResonanceTable.push_back(tabJoined({wText, v, h}));
        r.vPeakTable.push_back(tabJoined({wText, v}));
        r.hPeakTable.push_back(tabJoined({wText, h}));
    }
}

std::string resultLine(const RunResult& r, int t, FitMode fitMode) {
    const std::string time = formatFixed(r.T[t], 3);
    const std::string radius = formatFixed(r.Rfit[t], 3);
    const std::string conc = formatFixed(r.Conc[t], 1);
    const std::string vx = formatFixed(r.VxFit[t], 3);
    switch (fitMode) {
    case FitMode::GR1:
    case FitMode::Blank:
        return tabJoined({time, radius, conc, vx, formatFixed(r.GamFit[t], 3)});
    case FitMode::GR2: {
        // "Np" and "Nb": no fit produces them.
        const std::string zero = formatFixed(0.0, 3);
        return tabJoined({time, radius, conc, vx, zero, zero});
    }
    default:
        return tabJoined({time, radius, conc, vx});
    }
}

} // namespace

std::vector<std::string> resultTableHeader(FitMode fitMode) {
    switch (fitMode) {
    case FitMode::R:
        return {"Time\tRadius\tConc\tVx"};
    case FitMode::GR1:
    case FitMode::Blank:
        return {"Time\tRadius\tConc\tVx\tGamma"};
    case FitMode::GR2:
        return {"Time\tRadius\tConc\tVx\tNp\tNb"};
    default:
        return {};
    }
}

void runResultsStage(RunState& run) {
    RunResult& r = run.result;
    RunView& view = run.view;
    const FitMode fitMode = run.settings.mode;
    normaliseIntensities(run);
    drawPrediction(run);

    view.clearMemo(MemoId::IntensityMemo1);
    view.clearMemo(MemoId::Memo2);
    view.clearMemo(MemoId::IntensityMemo2);
    r.vPeakTable = {"W [eV]\tRmaxV"};
    r.hPeakTable = {"W [eV]\tRmaxH"};
    r.ResonanceTable = {"W [eV]\tRmaxV\tRmaxH"};
    view.addMemoLines(MemoId::IntensityMemo1, r.vPeakTable);
    view.addMemoLines(MemoId::IntensityMemo2, r.hPeakTable);
    view.addMemoLines(MemoId::Memo2, r.ResonanceTable);
    r.ResultTable = resultTableHeader(fitMode);
    view.addMemoLines(MemoId::Memo1, r.ResultTable);

    drawNormalised(run);

    writePeakTables(run);
    const std::span<const std::string> peakLines(r.ResonanceTable.begin() + 1, kWavelengths);
    view.addMemoLines(MemoId::Memo2, peakLines);
    view.addMemoLines(MemoId::IntensityMemo1,
                      std::span<const std::string>(r.vPeakTable.begin() + 1, kWavelengths));
    view.addMemoLines(MemoId::IntensityMemo2,
                      std::span<const std::string>(r.hPeakTable.begin() + 1, kWavelengths));

    if (r.ResultTable.empty()) {
        return;
    }
    for (int t = 1; t <= run.timePoints(); ++t) {
        r.ResultTable.push_back(resultLine(r, t, fitMode));
    }
    view.addMemoLines(MemoId::Memo1,
                      std::span<const std::string>(r.ResultTable.begin() + 1, run.timePoints()));
}

} // namespace velmora
