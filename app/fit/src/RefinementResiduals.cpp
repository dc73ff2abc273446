// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RefinementResiduals.h"

#include "fit/PolarizationRatio.h"

#include <cmath>

namespace velmora {

TimePointModel withValues(const TimePointModel& model, std::span<const double> p) {
    TimePointModel out = model;
    for (std::size_t i = 0; i < model.free.size(); ++i) {
        switch (model.free[i]) {
        case FreeValue::Radius:
            out.sizes.median = p[i];
            break;
        case FreeValue::Concentration:
            out.concentration = p[i];
            break;
        case FreeValue::PlasmaEnergy:
            out.particle.wp = p[i];
            break;
        case FreeValue::Damping:
            out.particle.gam = p[i];
            break;
        case FreeValue::Sigma:
            out.sizes.sigma = p[i];
            break;
        }
    }
    return out;
}

std::array<ModelValue, kWavelengths> modelValues(const TimePointModel& model) {
    std::array<ModelValue, kWavelengths> values{};
    for (int k = 0; k < kWavelengths; ++k) {
        values[k] = averagedIntensities(model.particle, model.lambda[k], model.sizes);
    }
    return values;
}

bool intensityResiduals(const Measured& measured,
                        const std::array<ModelValue, kWavelengths>& models, double concentration,
                        std::span<double> out) {
    for (int k = 0; k < kWavelengths; ++k) {
        if (models[k].fault != FpFault::None) {
            return false;
        }
        out[2 * k] = measured.iv[k] / (concentration * models[k].iv) - 1.0;
        out[2 * k + 1] = measured.ih[k] / (concentration * models[k].ih) - 1.0;
    }
    return true;
}

bool ratioResiduals(const Measured& measured, const std::array<ModelValue, kWavelengths>& models,
                    std::span<double> out) {
    for (int k = 0; k < kWavelengths; ++k) {
        if (models[k].fault != FpFault::None) {
            return false;
        }
        const ModelValue& m = models[k];
        out[k] = measuredPolRatio(measured.iv[k], measured.ih[k]) - (m.ih - m.iv) / (m.ih + m.iv);
    }
    return true;
}

ResidualFunction intensityMeasure(const TimePointModel& model) {
    return [model](std::span<const double> p, std::span<double> r) {
        const TimePointModel at = withValues(model, p);
        return intensityResiduals(at.measured, modelValues(at), at.concentration, r);
    };
}

ResidualFunction ratioMeasure(const TimePointModel& model) {
    return [model](std::span<const double> p, std::span<double> r) {
        return ratioResiduals(model.measured, modelValues(withValues(model, p)), r);
    };
}

ResidualFunction combinedMeasure(const TimePointModel& model) {
    return [model](std::span<const double> p, std::span<double> r) {
        const TimePointModel at = withValues(model, p);
        const std::array<ModelValue, kWavelengths> values = modelValues(at);
        return intensityResiduals(at.measured, values, at.concentration,
                                  r.first(kIntensityResiduals)) &&
               ratioResiduals(at.measured, values, r.subspan(kIntensityResiduals));
    };
}

ResidualNoise combinedNoise(const Measured& measured) {
    ResidualNoise noise{kIntensityResiduals,
                        std::vector<double>(kCombinedResiduals * kIntensityResiduals, 0.0)};
    const auto at = [&](int residual, int intensity) -> double& {
        return noise.map[static_cast<std::size_t>(residual * kIntensityResiduals + intensity)];
    };
    for (int c = 0; c < kIntensityResiduals; ++c) {
        at(c, c) = 1.0;
    }
    for (int k = 0; k < kWavelengths; ++k) {
        const double ratio = measuredPolRatio(measured.iv[k], measured.ih[k]);
        const double weight = (1.0 - ratio * ratio) / 2.0;
        at(kIntensityResiduals + k, 2 * k) = -weight;
        at(kIntensityResiduals + k, 2 * k + 1) = weight;
    }
    return noise;
}

} // namespace velmora
