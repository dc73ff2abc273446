// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs that fuzzing the reader found interesting, and the hostile
// files written by hand beside them, replayed through the ordinary reader:
// each must end as its line in datafile-outcomes.txt says, the number of
// lines read or the message of the refusal (with the file's path as FILE).
#include "fit/DataFile.h"
#include "fit/RunError.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string outcomeOf(const fs::path& file) {
    try {
        return "lines " + std::to_string(ReadDataFile(file.string()).lineCount());
    } catch (const RunError& e) {
        std::string message = e.what();
        for (std::size_t at; (at = message.find(file.string())) != std::string::npos;) {
            message.replace(at, file.string().size(), "FILE");
        }
        return message;
    }
}

// name TAB outcome, one a line.
std::map<std::string, std::string> expectedOutcomes() {
    std::map<std::string, std::string> outcomes;
    std::istringstream lines(test::readBytes(VELMORA_CORPUS_DIR "/datafile-outcomes.txt"));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        outcomes[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return outcomes;
}

TEST(DataFileCorpusTest, EveryInputEndsAsRecorded) {
    const std::map<std::string, std::string> expected = expectedOutcomes();
    std::size_t replayed = 0;
    for (const auto& entry : fs::directory_iterator(VELMORA_CORPUS_DIR "/datafile")) {
        const std::string name = entry.path().filename().string();
        const auto found = expected.find(name);
        const std::string actual = outcomeOf(entry.path());
        if (found == expected.end()) {
            ADD_FAILURE() << "no recorded outcome:\n" << name << '\t' << actual;
            continue;
        }
        EXPECT_EQ(actual, found->second) << name;
        ++replayed;
    }
    EXPECT_EQ(replayed, expected.size()) << "a recorded input is missing from the corpus";
}

} // namespace
} // namespace velmora
