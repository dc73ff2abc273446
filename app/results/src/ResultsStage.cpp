// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ResultsStage.h"

#include "results/GridEstimates.h"

#include "fit/Numbers.h"
#include "fit/Search.h"

namespace velmora {

namespace {

constexpr double kNormFactorV = 3.14;
constexpr double kNormFactorH = 4.13;
// The peak search leaves out the last time points.
constexpr int kPeakTail = 30;

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
    FitResult& r = run.result;
    for (int t = 1; t <= run.timePoints(); ++t) {
        if (r.Conc[t] == 0.0 || r.Rfit[t] == 0.0) {
            continue;
        }
        double radius = r.Rfit[t];
        double conc = r.Conc[t];
        Measured m = run.measuredAt(t);
        clearFpFlags();
        pinFp(radius, conc, m);
        Channels norm{};
        for (int k = 0; k < kWavelengths; ++k) {
            norm[2 * k + 1] = m.ih[k] / (kNormFactorH * (radius * radius) * conc);
            norm[2 * k] = m.iv[k] / (kNormFactorV * (radius * radius) * conc);
        }
        throwIfFpFault(norm);
        r.Norm[t] = norm;
    }
}

// The radius of every row of Model: Rgrid[i] = Rmin + (i - 1) * dR.
void gridPrediction(RunState& run) {
    const RunParameters& p = run.params;
    for (int i = 1; i <= p.N; ++i) {
        run.result.predictionRadii.push_back(gridValue(p.Rmin, i - 1, p.dR));
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
    FitResult& r = run.result;
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

std::string resultLine(const FitResult& r, int t, FitMode fitMode) {
    const std::string time = formatFixed(r.T[t], 3);
    const std::string radius = formatFixed(r.Rfit[t], 3);
    const std::string conc = formatFixed(r.Conc[t], 1);
    const std::string vx = formatFixed(r.VxFit[t], 3);
    switch (fitMode) {
    case FitMode::GR1:
        return tabJoined(
            {time, radius, conc, vx, formatFixed(r.GamFit[t], 3), formatFixed(r.WpFit[t], 3)});
    case FitMode::Blank:
    case FitMode::GR3:
        return tabJoined({time, radius, conc, vx, formatFixed(r.GamFit[t], 3)});
    case FitMode::GR2: {
        // "Np" and "Nb": no fit produces them; the mean damping follows.
        const std::string zero = formatFixed(0.0, 3);
        return tabJoined({time, radius, conc, vx, zero, zero, formatFixed(r.GamFit[t], 3)});
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
        return {"Time\tRadius\tConc\tVx\tGamma\tWp [eV]"};
    case FitMode::Blank:
    case FitMode::GR3:
        return {"Time\tRadius\tConc\tVx\tGamma"};
    case FitMode::GR2:
        return {"Time\tRadius\tConc\tVx\tNp\tNb\tGamma [eV]"};
    default:
        return {};
    }
}

void runResultsStage(RunState& run) {
    FitResult& r = run.result;
    const FitMode fitMode = run.settings.mode;
    normaliseIntensities(run);
    gridPrediction(run);
    fillGridEstimates(run);
    r.vPeakTable = {"W [eV]\tRmaxV"};
    r.hPeakTable = {"W [eV]\tRmaxH"};
    r.ResonanceTable = {"W [eV]\tRmaxV\tRmaxH"};
    r.ResultTable = resultTableHeader(fitMode);
    writePeakTables(run);
    if (r.ResultTable.empty()) {
        return;
    }
    for (int t = 1; t <= run.timePoints(); ++t) {
        r.ResultTable.push_back(resultLine(r, t, fitMode));
    }
}

} // namespace velmora
