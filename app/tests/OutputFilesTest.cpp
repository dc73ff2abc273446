// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer of outputs: what stands at an output path is replaced
// whole or left as it was, links and special files are honoured, several
// outputs are written all or none, and the measurement is never an output.
#include "results/OutputFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string errorOf(const std::vector<Output>& outputs) {
    try {
        writeOutputs(outputs);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

std::string refusalOf(const std::vector<std::string>& outputs, const std::string& measurement) {
    try {
        refuseOutputsOver(outputs, measurement);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no refusal";
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode;
}

// The names in a directory, so a test sees any temporary file left behind.
std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class OutputFilesTest : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return dir.file(name); }
    test::ScratchDir dir;
};

TEST_F(OutputFilesTest, ReplacesARegularFileWholeKeepingItsMode) {
    test::writeText(file("k.dat"), "old contents that are longer than the new ones");
    ASSERT_EQ(::chmod(file("k.dat").c_str(), 0600), 0);
    writeOutputs(std::vector<Output>{{file("k.dat"), "new"}});
    EXPECT_EQ(test::readBytes(file("k.dat")), "new");
    EXPECT_EQ(modeOf(file("k.dat")) & 07777, 0600u);
    writeOutputs(std::vector<Output>{{file("fresh.dat"), "a\r\n"}});
    EXPECT_EQ(test::readBytes(file("fresh.dat")), "a\r\n");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeOf(file("fresh.dat")) & 07777, 0666u & ~mask);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"fresh.dat", "k.dat"}));
}

// Only a process that may give files away (root) can keep another owner.
TEST_F(OutputFilesTest, AReplacedFileKeepsItsOwnerWhereThatIsAllowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may keep another user's ownership";
    }
    test::writeText(file("k.dat"), "old");
    ASSERT_EQ(::chown(file("k.dat").c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(file("k.dat").c_str(), 02640), 0); // set-group-id survives the owner change
    writeOutputs(std::vector<Output>{{file("k.dat"), "new"}});
    struct stat status {};
    ASSERT_EQ(::stat(file("k.dat").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 8765u);
    EXPECT_EQ(status.st_mode & 07777, 02640u);
    EXPECT_EQ(test::readBytes(file("k.dat")), "new");
}

TEST_F(OutputFilesTest, FollowsASymbolicLinkAndReplacesItsTargetWhereItStands) {
    fs::create_directory(file("data"));
    fs::create_directory(file("links"));
    test::writeText(file("data/table.dat"), "old");
    ASSERT_EQ(::chmod(file("data/table.dat").c_str(), 0640), 0);
    // Relative links count from their own directory, and chains are followed.
    fs::create_symlink("../data/table.dat", file("links/first"));
    fs::create_symlink("first", file("links/second"));
    writeOutputs(std::vector<Output>{{file("links/second"), "new"}});
    EXPECT_TRUE(fs::is_symlink(file("links/first")));
    EXPECT_TRUE(fs::is_symlink(file("links/second")));
    EXPECT_EQ(test::readBytes(file("data/table.dat")), "new");
    EXPECT_EQ(modeOf(file("data/table.dat")) & 07777, 0640u);
    EXPECT_EQ(namesIn(file("data")), std::vector<std::string>{"table.dat"});
    EXPECT_EQ(namesIn(file("links")), (std::vector<std::string>{"first", "second"}));

    // A link to nothing yet: the file is created where the link points.
    fs::create_symlink("../data/later.dat", file("links/dangling"));
    writeOutputs(std::vector<Output>{{file("links/dangling"), "x"}});
    EXPECT_TRUE(fs::is_symlink(file("links/dangling")));
    EXPECT_EQ(test::readBytes(file("data/later.dat")), "x");

    fs::create_symlink("loop", file("loop"));
    EXPECT_EQ(errorOf({{file("loop"), "x"}}),
              "Cannot write file " + file("loop") + ": Too many levels of symbolic links");
}

TEST_F(OutputFilesTest, WritesAFifoStraightThrough) {
    ASSERT_EQ(::mkfifo(file("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = test::readBytes(file("pipe")); });
    writeOutputs(std::vector<Output>{{file("pipe"), "through the pipe\r\n"}});
    reader.join();
    EXPECT_EQ(received, "through the pipe\r\n");
    EXPECT_TRUE(S_ISFIFO(modeOf(file("pipe"))));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"pipe"});
}

TEST_F(OutputFilesTest, ADeviceStaysADeviceAndItsErrorIsReported) {
    if (!fs::is_character_file("/dev/full") || !fs::is_character_file("/dev/null")) {
        GTEST_SKIP() << "no /dev/full or /dev/null";
    }
    writeOutputs(std::vector<Output>{{"/dev/null", "discarded"}});
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(errorOf({{"/dev/full", "x"}}),
              "Cannot write file /dev/full: No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(errorOf({{file("."), "x"}}),
              "Cannot write file " + file(".") + ": it is a directory");
}

TEST_F(OutputFilesTest, SeveralOutputsAreWrittenAllOrNone) {
    test::writeText(file("k.dat"), "old k");
    test::writeText(file("r.dat"), "old r");
    const std::string missingDirectory = file("nonexistent/r.dat");
    EXPECT_EQ(errorOf({{file("k.dat"), "new k"}, {missingDirectory, "new r"}}),
              "Cannot write file " + missingDirectory + ": No such file or directory");
    EXPECT_EQ(test::readBytes(file("k.dat")), "old k");
    // A straight-through output that fails comes after the files are written
    // and before they are renamed: the files stay as they were too.
    if (fs::is_character_file("/dev/full")) {
        EXPECT_NE(errorOf({{file("k.dat"), "new k"}, {"/dev/full", "x"}, {file("r.dat"), "r"}}),
                  "no error");
        EXPECT_EQ(test::readBytes(file("k.dat")), "old k");
        EXPECT_EQ(test::readBytes(file("r.dat")), "old r");
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"k.dat", "r.dat"}));
    writeOutputs(std::vector<Output>{{file("k.dat"), "new k"}, {file("r.dat"), "new r"}});
    EXPECT_EQ(test::readBytes(file("k.dat")), "new k");
    EXPECT_EQ(test::readBytes(file("r.dat")), "new r");
}

// The choice for hard links: the file is replaced atomically, so the other
// name keeps the old contents rather than seeing a half-written table.
TEST_F(OutputFilesTest, AReplacedFileLeavesItsOtherHardLinkWithTheOldContents) {
    test::writeText(file("k.dat"), "old");
    fs::create_hard_link(file("k.dat"), file("other-name.dat"));
    writeOutputs(std::vector<Output>{{file("k.dat"), "new"}});
    EXPECT_EQ(test::readBytes(file("k.dat")), "new");
    EXPECT_EQ(test::readBytes(file("other-name.dat")), "old");
}

TEST_F(OutputFilesTest, TheMeasurementIsNeverAnOutput) {
    test::writeText(file("DemoDat.txt"), "1\t2\n");
    fs::create_directory(file("sub"));
    fs::create_symlink("../DemoDat.txt", file("sub/link.txt"));
    fs::create_hard_link(file("DemoDat.txt"), file("hard.txt"));
    const std::string refusal = "; writing it would replace the measurement";
    for (const std::string& output : {file("DemoDat.txt"), file("sub/../DemoDat.txt"),
                                      file("sub/link.txt"), file("hard.txt")}) {
        EXPECT_EQ(refusalOf({output}, file("DemoDat.txt")), "The output file " + output +
                                                                " is the measurement " +
                                                                file("DemoDat.txt") + refusal);
    }
    // Relative names, seen from the working directory, through a link.
    dir.enter();
    EXPECT_EQ(refusalOf({"r.dat", "./sub/link.txt"}, "DemoDat.txt"),
              "The output file ./sub/link.txt is the measurement DemoDat.txt" + refusal);
    EXPECT_EQ(refusalOf({"-", "r.dat", "-", "w.dat"}, "DemoDat.txt"), "no refusal");
    EXPECT_EQ(refusalOf({"r.dat", "sub/../r.dat"}, "DemoDat.txt"),
              "The output file sub/../r.dat is named twice; each output needs a file of its own");
    EXPECT_EQ(refusalOf({"DemoDat.txt"}, "missing.txt"), "no refusal");
}

// A file system too small for the new table: only where the test may mount
// one (as root, with the right to mount).
TEST_F(OutputFilesTest, AFullFileSystemLeavesTheOldFile) {
    const std::string mountPoint = file("small");
    fs::create_directory(mountPoint);
    if (::mount("velmora-test", mountPoint.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string path = mountPoint + "/k.dat";
    test::writeText(path, "old");
    const std::string error = errorOf({{path, std::string(1 << 20, 'x')}});
    EXPECT_EQ(error, "Cannot write file " + path + ": No space left on device");
    EXPECT_EQ(test::readBytes(path), "old");
    EXPECT_EQ(namesIn(mountPoint), std::vector<std::string>{"k.dat"});
    ::umount(mountPoint.c_str());
}

} // namespace
} // namespace velmora
