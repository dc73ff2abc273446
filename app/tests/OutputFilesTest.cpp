// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer of outputs: what stands at an output path is replaced
// whole or left as it was, links and special files are honoured, several
// outputs are written all or none, and the measurement is never an output.
#include "results/OutputFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
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
    EXPECT_EQ(
        refusalOf({"r.dat", "sub/../r.dat"}, "DemoDat.txt"),
        "The output files r.dat and sub/../r.dat name the same file; each output needs a file "
        "of its own");
    EXPECT_EQ(refusalOf({"DemoDat.txt"}, "missing.txt"), "no refusal");
}

// The error of writing the outputs, as this process or, where a case needs
// a user that is not root (for whom permissions count), as the user nobody in
// a child process.
std::string errorAsUser(const std::vector<Output>& outputs, bool asNobody) {
    if (!asNobody) {
        return errorOf(outputs);
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const std::string error =
            ::setgid(65534) == 0 && ::setuid(65534) == 0 ? errorOf(outputs) : "cannot be nobody";
        [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], error.data(), error.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string error;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        error.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return error;
}

// Every output is checked before the first is written: a refusal of the
// second output leaves the first as it was, and no temporary file.
TEST_F(OutputFilesTest, AnOutputThatCouldNotBeReplacedIsRefusedBeforeAnyIsWritten) {
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    test::writeText(file("a.dat"), "old a");
    ASSERT_EQ(::chmod(file("a.dat").c_str(), 0666), 0);
    test::writeText(file("ro.dat"), "read-only");
    ASSERT_EQ(::chmod(file("ro.dat").c_str(), 0444), 0);
    fs::create_symlink("a.dat", file("to-a"));
    fs::create_symlink("later.dat", file("to-later"));
    fs::create_directory(file("sticky"));
    ASSERT_EQ(::chmod(file("sticky").c_str(), 01777), 0);
    test::writeText(file("sticky/theirs.dat"), "theirs");
    ASSERT_EQ(::chmod(file("sticky/theirs.dat").c_str(), 0666), 0); // anyone may write it
    const bool othersFile = root && ::chown(file("sticky/theirs.dat").c_str(), 4321, 4321) == 0;
    const struct {
        std::string second;
        std::string error; // after "Cannot write file <second>: ", or the whole message
        bool needsOtherUser;
    } cases[] = {
        {"", "Cannot write file '': the name is empty", false},
        {file("."), "it is a directory", false},
        {file("missing/r.dat"), "No such file or directory", false},
        {file("ro.dat"), "Permission denied (the file is read-only)", true},
        {file("sticky/theirs.dat"),
         "Operation not permitted (the file belongs to another user, in a directory where only "
         "a file's owner may replace it)",
         true},
        {file("to-a"),
         "The output files " + file("a.dat") + " and " + file("to-a") +
             " name the same file; each output needs a file of its own",
         false},
    };
    for (const auto& c : cases) {
        if (c.needsOtherUser && !root && c.second == file("sticky/theirs.dat")) {
            continue; // only root can give a file to another user
        }
        if (c.needsOtherUser && root && !othersFile) {
            continue;
        }
        const std::string error =
            errorAsUser({{file("a.dat"), "new a"}, {c.second, "x"}}, c.needsOtherUser && root);
        const std::string expected = c.error.starts_with("Cannot") || c.error.starts_with("The")
                                         ? c.error
                                         : "Cannot write file " + c.second + ": " + c.error;
        EXPECT_EQ(error, expected) << c.second;
        EXPECT_EQ(test::readBytes(file("a.dat")), "old a") << c.second;
    }
    // A link to a name that another output creates is the same file too.
    EXPECT_EQ(errorOf({{file("to-later"), "x"}, {file("later.dat"), "y"}}),
              "The output files " + file("to-later") + " and " + file("later.dat") +
                  " name the same file; each output needs a file of its own");
    EXPECT_FALSE(fs::exists(file("later.dat")));
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"a.dat", "ro.dat", "sticky", "to-a", "to-later"}));

    // Names up to the longest a directory holds, whose temporary names
    // would be longer than that, are written as any other.
    for (const std::size_t length : {247u, 248u, 255u}) {
        const std::string longName = file(std::string(length, 'n'));
        writeOutputs(std::vector<Output>{{longName, "long"}, {file("a.dat"), "new a"}});
        EXPECT_EQ(test::readBytes(longName), "long") << length;
        fs::remove(longName);
    }
    EXPECT_EQ(test::readBytes(file("a.dat")), "new a");
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"a.dat", "ro.dat", "sticky", "to-a", "to-later"}));
}

// A file mounted over another (a bind mount) cannot be replaced by a
// rename: refused before anything is written. Only where the test may mount.
TEST_F(OutputFilesTest, AFileMountedOnItsOwnIsRefused) {
    test::writeText(file("a.dat"), "old a");
    test::writeText(file("source.dat"), "source");
    test::writeText(file("mounted.dat"), "mounted");
    if (::mount(file("source.dat").c_str(), file("mounted.dat").c_str(), nullptr, MS_BIND,
                nullptr) != 0) {
        GTEST_SKIP() << "cannot bind-mount here";
    }
    EXPECT_EQ(errorOf({{file("a.dat"), "new a"}, {file("mounted.dat"), "x"}}),
              "Cannot write file " + file("mounted.dat") +
                  ": Device or resource busy (the file is mounted on its own and cannot be "
                  "replaced)");
    ::umount(file("mounted.dat").c_str());
    EXPECT_EQ(test::readBytes(file("a.dat")), "old a");
}

// INT, TERM and HUP while the outputs are written remove the temporary files
// and end the process as the signal asks. The writer is held after the files
// are staged by a FIFO output that nobody reads.
TEST_F(OutputFilesTest, ASignalDuringTheWriteLeavesNoTemporaryFile) {
    ASSERT_EQ(::mkfifo(file("pipe").c_str(), 0600), 0);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        test::writeText(file("a.dat"), "old a");
        const pid_t child = ::fork();
        if (child == 0) {
            writeOutputs(std::vector<Output>{{file("a.dat"), "new a"}, {file("pipe"), "x"}});
            ::_exit(0);
        }
        // The temporary file of a.dat appears once the writer waits at the FIFO.
        for (int wait = 0; wait < 500 && namesIn(dir.path()).size() < 3; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(namesIn(dir.path()).size(), 3u);
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.dat", "pipe"})) << signal;
        EXPECT_EQ(test::readBytes(file("a.dat")), "old a");
    }
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
