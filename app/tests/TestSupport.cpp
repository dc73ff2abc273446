// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "fit/Match.h"
#include "fit/Numbers.h"

#include <stdexcept>

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <random>

namespace velmora::test {

LaneWidthScope::LaneWidthScope(LaneWidth width) {
    if (!forceLaneWidth(width)) {
        throw std::invalid_argument(std::string("lane width not available: ") +
                                    laneWidthName(width));
    }
}

LaneWidthScope::~LaneWidthScope() {
    forceLaneWidth(availableLaneWidths().back());
}

ScratchDir::ScratchDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("velmora-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

void ScratchDir::enter() {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!previous_.empty()) {
        std::filesystem::current_path(previous_, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

namespace {
std::string shortest(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}
} // namespace

void writeMeasurement(const std::string& path, const std::vector<SyntheticPoint>& points) {
    std::array<double, kWavelengths> lambda{};
    for (int k = 1; k <= kWavelengths; ++k) {
        lambda[k - 1] = parseDecimal(defaultText(lambdaField(k)));
    }
    std::string text;
    for (const SyntheticPoint& p : points) {
        text += shortest(p.time);
        for (double l : lambda) {
            const ModelValue m = ModelIntensities({l, p.radius, p.gam, p.wp, p.w0});
            text += '\t';
            text += shortest(p.concentration * m.iv);
            text += '\t';
            text += shortest(p.concentration * m.ih);
        }
        text += '\n';
    }
    writeText(path, text);
}

std::vector<double> overTime(const FitResult& result, Quantity quantity) {
    for (const TimeSeries& series : result.overTime) {
        if (series.quantity == quantity) {
            return series.values;
        }
    }
    return {};
}

void setField(FieldInputs& inputs, Field field, std::string_view text) {
    inputs.text(field) = std::string(text);
}

FieldInputs inputsFor(FitMode mode, const std::string& dataFile) {
    FieldInputs inputs = FieldInputs::defaults();
    inputs.fitMode = static_cast<int>(mode);
    inputs.dielectric = static_cast<int>(Dielectric::Drude);
    inputs.dataFile = dataFile;
    return inputs;
}

} // namespace velmora::test
