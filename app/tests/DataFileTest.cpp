#include "fit/DataFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class DataFileTest : public ::testing::Test {
protected:
    TDataTable read(const std::string& text) {
        writeText(text);
        return ReadDataFile(path());
    }
    void writeText(const std::string& text) { test::writeText(path(), text); }
    std::string path() const { return dir.file("DemoDat.txt"); }

    std::string errorOf(const std::string& text) {
        try {
            read(text);
        } catch (const RunError& e) {
            return e.what();
        }
        return "no error";
    }

    test::ScratchDir dir;
};

TEST_F(DataFileTest, BothDecimalMarksGiveTheSameTable) {
    const TDataTable comma = read("1,5\t2,25\t-3e-2\n4\t5,5\t6E1\n");
    const TDataTable stop = read("1.5\t2.25\t-3e-2\n4\t5.5\t6E1\n");
    ASSERT_EQ(comma.lineCount(), 2);
    ASSERT_EQ(stop.lineCount(), 2);
    for (int row = 0; row < 2; ++row) {
        for (int column = 1; column <= kMaxDataFields; ++column) {
            EXPECT_EQ(comma.field(row, column), stop.field(row, column));
        }
    }
    EXPECT_EQ(comma.field(0, 2), 2.25);
    EXPECT_EQ(comma.field(0, 3), -0.03);
    EXPECT_EQ(comma.field(1, 3), 60.0);
}

TEST_F(DataFileTest, EveryLineBreakStyleEndsALine) {
    for (const std::string text : {"1\t2\r\n3\t4\r\n5\t6", "1\t2\n3\t4\n5\t6\n",
                                   "1\t2\r3\t4\r5\t6\r", "1\t2\r\n3\t4\n5\t6\r"}) {
        const TDataTable table = read(text);
        ASSERT_EQ(table.lineCount(), 3);
        EXPECT_EQ(table.field(2, 1), 5.0);
        EXPECT_EQ(table.field(2, 2), 6.0);
    }
}

TEST_F(DataFileTest, EmptyFileHasNoLinesAndShortLinesLeaveZeros) {
    EXPECT_EQ(read("").lineCount(), 0);
    const TDataTable table = read("7\t8\n9\n");
    ASSERT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.field(0, 2), 8.0);
    EXPECT_EQ(table.field(0, 3), 0.0);
    EXPECT_EQ(table.field(1, 2), 0.0);
    EXPECT_EQ(table.field(1, 10), 0.0);
}

TEST_F(DataFileTest, EmptyFieldsAreNoNumbers) {
    const std::string empty = "'' is not a valid floating point value";
    EXPECT_EQ(errorOf("1\t2\n\n3\t4\n"), empty); // empty line between data lines
    EXPECT_EQ(errorOf("1\t\t2\n"), empty);       // adjacent TABs
    EXPECT_EQ(errorOf("1\t2\t\n"), empty);       // trailing TAB
    EXPECT_EQ(errorOf("1\t2\n\t\n"), empty);     // a line of one TAB
    EXPECT_EQ(errorOf("1\t2\n\n"), empty);       // an empty last line
    EXPECT_EQ(errorOf("1\t2\n   \n"), "'   ' is not a valid floating point value");
}

TEST_F(DataFileTest, FieldMessageShowsTheTextAfterTheMarkReplacement) {
    EXPECT_EQ(errorOf("1\t2.5.1\n"), "'2,5,1' is not a valid floating point value");
    EXPECT_EQ(errorOf("1\t1 000\n"), "'1 000' is not a valid floating point value");
    EXPECT_EQ(errorOf("1\tabc\n"), "'abc' is not a valid floating point value");
}

TEST_F(DataFileTest, MissingFileNamesTheFileAsGiven) {
    try {
        ReadDataFile(dir.file("missing.txt"));
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.file("missing.txt"));
    }
}

TEST_F(DataFileTest, DirectoryCannotBeOpened) {
    try {
        ReadDataFile(dir.path().string());
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.path().string());
    }
}

TEST_F(DataFileTest, TenFieldsAndThousandLinesFit) {
    std::string text;
    for (int i = 0; i < kMaxDataLines; ++i) {
        text += std::to_string(i) + "\t1\t2\t3\t4\t5\t6\t7\t8\t9\n";
    }
    const TDataTable table = read(text);
    ASSERT_EQ(table.lineCount(), kMaxDataLines);
    EXPECT_EQ(table.field(999, 1), 999.0);
    EXPECT_EQ(table.field(999, 10), 9.0);
}

TEST_F(DataFileTest, LimitsAreRefusedWithTheirPlace) {
    EXPECT_EQ(errorOf("1\n1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\n"),
              "Line 2 of " + path() + " has more than 10 fields");
    // The limit is checked before the eleventh field is parsed.
    EXPECT_EQ(errorOf("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\tx\n"),
              "Line 1 of " + path() + " has more than 10 fields");
    std::string text;
    for (int i = 0; i <= kMaxDataLines; ++i) {
        text += "1\n";
    }
    EXPECT_EQ(errorOf(text), "Line 1001 of " + path() + " is beyond the limit of 1000 lines");
}

} // namespace
} // namespace velmora
