// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a synthetic measurement in the format velmora reads: silver-like
// particles (Drude, plasma energy 5.6 eV, damping 1 eV) growing smoothly from
// 25 nm to 140 nm over about 1000 s while their concentration slowly falls,
// seen at the four default wavelengths in both polarisations with 1 % noise
// on every intensity. Field 10 holds the true radius.
//
//   make-demo-data [OUTPUT] [POINTS]   (defaults: DemoDat.txt, 500)
//
// The noise comes from a fixed seed through our own generator and Gaussian
// transform, so the file is the same on every standard library.
#include "fit/IntensityModel.h"
#include "fit/Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr std::uint64_t kSeed = 0x5eed2005u;
constexpr double kDuration = 998.0; // s
constexpr double kStartRadius = 25.0;
constexpr double kEndRadius = 140.0;
constexpr double kStartConcentration = 1000.0;
constexpr double kConcentrationDecay = 2500.0; // s
constexpr double kNoise = 0.01;
constexpr double kWp = 5.6;
constexpr double kGam = 1.0;
constexpr std::array<double, 4> kLambda = {457.9, 514.5, 568.2, 647.1};

// splitmix64: a small generator whose sequence is fixed by its seed.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    // Uniform in (0, 1).
    double uniform() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        z ^= z >> 31;
        return (static_cast<double>(z >> 11) + 0.5) * 0x1.0p-53;
    }

    // Standard normal, by the Box-Muller transform.
    double gaussian() {
        const double u1 = uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

private:
    std::uint64_t state_;
};

// The radius grows fast at first and slower towards the end:
// r(s) = r0 + (r1 - r0) * s * (1.3 - 0.3 s), s = t / duration.
double radiusAt(double time) {
    const double s = time / kDuration;
    return kStartRadius + (kEndRadius - kStartRadius) * s * (1.3 - 0.3 * s);
}

double concentrationAt(double time) {
    return kStartConcentration * std::exp(-time / kConcentrationDecay);
}

// Seven significant digits, "." as decimal point.
std::string significant(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 7);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "DemoDat.txt";
    const int points = argc > 2 ? std::stoi(argv[2]) : 500;
    std::FILE* file = std::fopen(output.c_str(), "wb");
    if (!file) {
        std::perror(output.c_str());
        return 1;
    }
    Random random(kSeed);
    for (int i = 0; i < points; ++i) {
        const double time = points > 1 ? kDuration * i / (points - 1) : 0.0;
        const double radius = radiusAt(time);
        const double concentration = concentrationAt(time);
        std::string line = velmora::formatFixed(time, 1);
        for (double lambda : kLambda) {
            const velmora::ModelValue model =
                velmora::ModelIntensities({lambda, radius, kGam, kWp, velmora::kDrudeResonance});
            for (double intensity : {model.iv, model.ih}) {
                const double noisy = concentration * intensity * (1.0 + kNoise * random.gaussian());
                line += '\t';
                line += significant(noisy);
            }
        }
        line += '\t';
        line += velmora::formatFixed(radius, 4);
        line += "\r\n";
        std::fputs(line.c_str(), file);
    }
    if (std::fclose(file) != 0) {
        std::perror(output.c_str());
        return 1;
    }
    return 0;
}
