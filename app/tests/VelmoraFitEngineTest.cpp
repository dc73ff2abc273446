// velmora-fit --engine: both engines print the same tables, the fast one is
// the default, and an unknown engine is a bad command line.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

namespace velmora {
namespace {

class VelmoraFitEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeMeasurement(dir.file("DemoDat.txt"),
                               {{0.0, 30.0, 50.0}, {1.0, 31.0, 49.0}, {2.0, 33.0, 48.0}});
    }

    // Runs the program in the scratch directory; returns its exit status.
    int run(const std::string& args) {
        const std::string command = "cd '" + dir.path().string() + "' && '" + VELMORA_FIT_PROGRAM +
                                    "' " + args + " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        out = test::readBytes(dir.file("stdout.txt"));
        err = test::readBytes(dir.file("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    test::ScratchDir dir;
    std::string out;
    std::string err;
};

TEST_F(VelmoraFitEngineTest, BothEnginesPrintTheSameTables) {
    for (const std::string mode : {"R", "GR2"}) {
        ASSERT_EQ(run("--mode " + mode + " --engine direct --resonance wr.dat"), 0) << err;
        const std::string direct = out;
        const std::string directPeaks = test::readBytes(dir.file("wr.dat"));
        ASSERT_EQ(run("--mode " + mode + " --engine fast --resonance wr.dat"), 0) << err;
        EXPECT_EQ(out, direct) << mode;
        EXPECT_EQ(test::readBytes(dir.file("wr.dat")), directPeaks) << mode;
        ASSERT_EQ(run("--mode " + mode), 0) << err;
        EXPECT_EQ(out, direct) << mode;
        EXPECT_EQ(out.substr(0, 5), "Time\t");
    }
}

TEST_F(VelmoraFitEngineTest, UnknownEngineIsABadCommandLine) {
    EXPECT_EQ(run("--engine quick"), 2);
    EXPECT_NE(err.find("unknown engine 'quick' (fast or direct)"), std::string::npos) << err;
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(out.find("--engine fast|direct"), std::string::npos);
}

} // namespace
} // namespace velmora
