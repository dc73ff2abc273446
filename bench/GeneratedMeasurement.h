// SPDX-License-Identifier: GPL-3.0-or-later
// A measurement of `points` time points written by the demo generator into
// a temporary directory of its own, removed at exit.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class GeneratedMeasurement {
public:
    GeneratedMeasurement(const std::string& prefix, int points)
        : dir_(std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(dir_);
        const std::string command = std::string("'") + VELMORA_MAKE_DEMO_DATA + "' '" + path() +
                                    "' " + std::to_string(points);
        if (std::system(command.c_str()) != 0) {
            std::abort();
        }
    }
    ~GeneratedMeasurement() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    GeneratedMeasurement(const GeneratedMeasurement&) = delete;
    GeneratedMeasurement& operator=(const GeneratedMeasurement&) = delete;

    std::string path() const { return (dir_ / "DemoDat.txt").string(); }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};
