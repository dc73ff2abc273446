#include "fit/fast/MatchKernel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

constexpr int kChunk = 64;

// True for a finite value; false for an infinity or a NaN. Branch-free, so
// loops that use it still vectorise.
inline bool isFinite(double x) {
    return std::fabs(x) <= std::numeric_limits<double>::max();
}

} // namespace

void matchCandidates(const Measured& measured, const ModelColumns& models, int count,
                     const ScoreColumns& out) {
    constexpr double channels = 2.0 * kWavelengths;
    for (int start = 0; start < count; start += kChunk) {
        const int n = std::min(kChunk, count - start);
        bool suspect[kChunk];
        for (int c = 0; c < n; ++c) {
            const int j = start + c;
            double rV[kWavelengths];
            double rH[kWavelengths];
            bool finite = true;
            for (int k = 0; k < kWavelengths; ++k) {
                rV[k] = measured.iv[k] / models.iv[k][j];
                rH[k] = measured.ih[k] / models.ih[k][j];
                finite = finite & isFinite(rV[k]) & isFinite(rH[k]);
            }
            double sum = 0.0;
            for (int k = 0; k < kWavelengths; ++k) {
                sum += rV[k] + rH[k];
            }
            const double mean = sum / channels;
            double squares = 0.0;
            for (int k = 0; k < kWavelengths; ++k) {
                const double dV = mean - rV[k];
                const double dH = mean - rH[k];
                squares += dV * dV + dH * dH;
            }
            const double err = std::sqrt(squares) / channels;
            const double vx = (mean == 0.0) ? 100.0 : err * 100.0 / mean;
            out.mean[j] = mean;
            out.vx[j] = vx;
            out.fault[j] = FpFault::None;
            suspect[c] = !(finite & isFinite(mean) & isFinite(err) & isFinite(vx));
        }
        for (int c = 0; c < n; ++c) {
            if (!suspect[c]) {
                continue;
            }
            const int j = start + c;
            std::array<ModelValue, kWavelengths> values{};
            for (int k = 0; k < kWavelengths; ++k) {
                values[k] = {models.iv[k][j], models.ih[k][j], models.fault[k][j]};
            }
            const MatchValue exact = MatchIntensities(measured, values);
            out.mean[j] = exact.mean;
            out.vx[j] = exact.vx;
            out.fault[j] = exact.fault;
        }
    }
}

void mismatchCandidates(double measuredRatio, const double* iv, const double* ih,
                        const FpFault* faults, int count, const MismatchColumns& out) {
    for (int start = 0; start < count; start += kChunk) {
        const int n = std::min(kChunk, count - start);
        bool suspect[kChunk];
        for (int c = 0; c < n; ++c) {
            const int j = start + c;
            const double difference = ih[j] - iv[j];
            const double total = ih[j] + iv[j];
            const double ratio = difference / total;
            const double value = std::fabs(measuredRatio - ratio);
            out.value[j] = value;
            out.fault[j] = FpFault::None;
            suspect[c] = !(isFinite(difference) & isFinite(total) & isFinite(value));
        }
        for (int c = 0; c < n; ++c) {
            if (!suspect[c]) {
                continue;
            }
            const int j = start + c;
            const PolarizationMismatch exact =
                polarizationMismatch(measuredRatio, {iv[j], ih[j], faults[j]});
            out.value[j] = exact.value;
            out.fault[j] = exact.fault;
        }
    }
}

} // namespace velmora
