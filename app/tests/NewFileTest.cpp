#include "results/NewFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace velmora {
namespace {

TEST(NewFile, CreatesAFileThatTakesTheBytesAsTheyAre) {
    test::ScratchDir dir;
    std::FILE* file = createNewFile(dir.file("new.dat"));
    ASSERT_NE(file, nullptr) << "errno " << errno;
    // A text-mode stream on Windows would write "\r\n" for each "\n" and
    // stop reading at a 0x1A byte.
    const std::string bytes("a\nb\r\n\x1a"
                            "c",
                            7);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(test::readBytes(dir.file("new.dat")), bytes);
}

TEST(NewFile, RefusesANameThatExistsAndLeavesItAsItWas) {
    test::ScratchDir dir;
    test::writeText(dir.file("kept.dat"), "kept");
    errno = 0;
    EXPECT_EQ(createNewFile(dir.file("kept.dat")), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(test::readBytes(dir.file("kept.dat")), "kept");

    std::filesystem::create_directory(dir.file("folder"));
    errno = 0;
    EXPECT_EQ(createNewFile(dir.file("folder")), nullptr);
    EXPECT_EQ(errno, EEXIST);
}

TEST(NewFile, ReportsAMissingFolder) {
    test::ScratchDir dir;
    errno = 0;
    EXPECT_EQ(createNewFile(dir.file("missing/new.dat")), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

} // namespace
} // namespace velmora
