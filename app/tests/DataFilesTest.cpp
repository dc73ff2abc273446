// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/DataFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// An installed layout <prefix>/bin/<program> beside
// <prefix>/share/velmora/<data file>, and a working directory of its own.
class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(prefix.path() / "bin");
        std::filesystem::create_directories(prefix.path() / "share" / "velmora");
        work.enter();
    }
    std::filesystem::path bin() const { return prefix.path() / "bin"; }
    std::filesystem::path installed(std::string_view name) const {
        return prefix.path() / "share" / "velmora" / name;
    }

    test::ScratchDir prefix;
    test::ScratchDir work;
};

TEST_F(DataFilesTest, InstalledCopyComesFirstThenWorkingDirectoryThenSourceTree) {
    test::writeText(installed("DemoDat.txt").string(), "installed");
    test::writeText(work.file("DemoDat.txt"), "here");
    DataFileLookup lookup = findDataFile("DemoDat.txt", bin());
    ASSERT_TRUE(lookup.found);
    EXPECT_EQ(std::filesystem::weakly_canonical(*lookup.found),
              std::filesystem::weakly_canonical(installed("DemoDat.txt")));

    std::filesystem::remove(installed("DemoDat.txt"));
    lookup = findDataFile("DemoDat.txt", bin());
    ASSERT_TRUE(lookup.found);
    EXPECT_EQ(test::readBytes(lookup.found->string()), "here");

    // The source tree's demo folder holds the real demo files.
    std::filesystem::remove(work.file("DemoDat.txt"));
    lookup = findDataFile("HelpDemo.mht", bin());
    ASSERT_TRUE(lookup.found);
    EXPECT_EQ(lookup.found->filename(), "HelpDemo.mht");
    EXPECT_EQ(lookup.candidates.size(), 3u);
}

TEST_F(DataFilesTest, NothingFoundListsEveryPlaceLooked) {
    std::filesystem::create_directory(installed("NoSuchFile.txt")); // a folder is no file
    const DataFileLookup lookup = findDataFile("NoSuchFile.txt", bin());
    EXPECT_FALSE(lookup.found);
    ASSERT_EQ(lookup.candidates.size(), 3u);
    EXPECT_EQ(lookup.candidates[0], installed("NoSuchFile.txt").lexically_normal());
    EXPECT_EQ(lookup.candidates[1], std::filesystem::current_path() / "NoSuchFile.txt");
    EXPECT_EQ(lookup.candidates[2].filename(), "NoSuchFile.txt");
}

TEST_F(DataFilesTest, TheRunningProgramHasAFolder) {
    const std::filesystem::path dir = executableDirectory();
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
}

} // namespace
} // namespace velmora
