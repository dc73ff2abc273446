// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DataFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

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

// The parser refuses a hostile stream as soon as it is one, whatever
// follows: `feeds` counts the pieces it took before refusing.
std::string refusalOfStream(const std::string& piece, int& feeds) {
    DataFileParser parser("stream");
    feeds = 0;
    try {
        for (; feeds < 100000; ++feeds) {
            parser.feed(piece);
        }
        parser.finish();
    } catch (const RunError& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(DataFileTest, EndlessOrHugeInputsAreRefusedAtOnce) {
    int feeds = 0;
    EXPECT_EQ(refusalOfStream(std::string(4096, '\0'), feeds),
              "Line 1 of stream is longer than the limit of 65536 bytes");
    EXPECT_EQ(feeds, 16); // the first byte past 64 KiB
    EXPECT_EQ(refusalOfStream(std::string(4096, '\n'), feeds),
              "'' is not a valid floating point value");
    EXPECT_EQ(feeds, 0);
    EXPECT_EQ(refusalOfStream("1\t2\r\n", feeds),
              "Line 1001 of stream is beyond the limit of 1000 lines");
    EXPECT_EQ(feeds, kMaxDataLines);
    // A line of exactly the limit is read; the limit holds for digits too.
    const std::string longest = std::string(kMaxDataLineBytes - 1, '0') + "1";
    const TDataTable table = read(longest + "\n" + longest);
    ASSERT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.field(1, 1), 1.0);
    EXPECT_EQ(errorOf("1\n" + longest + "0\n"),
              "Line 2 of " + path() + " is longer than the limit of 65536 bytes");
    if (std::filesystem::exists("/dev/zero")) {
        try {
            ReadDataFile("/dev/zero");
            ADD_FAILURE() << "no error";
        } catch (const RunError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Line 1 of /dev/zero is longer than the limit of 65536 bytes");
        }
    }
}

TEST_F(DataFileTest, PiecesOfAnySizeReadAsTheWholeText) {
    // A mark and CR LF line ends split between pieces at every size.
    const std::string text = "\xEF\xBB\xBF"
                             "1.5\t2\r\n3\t4,25\r5\t6\n7\r\n";
    const TDataTable whole = read(text);
    ASSERT_EQ(whole.lineCount(), 4);
    EXPECT_EQ(whole.field(0, 1), 1.5);
    EXPECT_EQ(whole.field(1, 2), 4.25);
    EXPECT_EQ(whole.field(3, 1), 7.0);
    for (std::size_t size = 1; size <= 8; ++size) {
        DataFileParser parser("pieces");
        for (std::size_t at = 0; at < text.size(); at += size) {
            parser.feed(std::string_view(text).substr(at, size));
        }
        const TDataTable pieces = parser.finish();
        ASSERT_EQ(pieces.lineCount(), whole.lineCount()) << size;
        for (int row = 0; row < whole.lineCount(); ++row) {
            for (int column = 1; column <= kMaxDataFields; ++column) {
                EXPECT_EQ(pieces.field(row, column), whole.field(row, column)) << size;
            }
        }
    }
}

TEST_F(DataFileTest, AByteOrderMarkIsSkippedAndUtf16IsNamed) {
    const TDataTable table = read("\xEF\xBB\xBF"
                                  "1,5\t2\n3\t4\n");
    ASSERT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.field(0, 1), 1.5);
    EXPECT_EQ(read("\xEF\xBB\xBF").lineCount(), 0);
    // A mark anywhere else is no number.
    EXPECT_EQ(errorOf("1\n\xEF\xBB\xBF"
                      "2\n"),
              "'\xEF\xBB\xBF"
              "2' is not a valid floating point value");
    const std::string utf16 = path() + " is UTF-16 text; save it as UTF-8 or ASCII";
    using namespace std::string_view_literals;
    for (const std::string_view text : {"\xFF\xFE\x31\0\t\0\x32\0"sv, // little end first
                                        "\xFE\xFF\0\x31\0\t"sv,       // big end first
                                        "\x31\0\t\0\x32\0\n\0"sv,     // without a mark
                                        "\0\x31"sv}) {
        EXPECT_EQ(errorOf(std::string(text)), utf16);
    }
}

TEST_F(DataFileTest, UnprintableBytesAreEscapedInMessages) {
    EXPECT_EQ(errorOf(std::string("1\t2\0x\x1B[31m\n", 11)),
              "'2\\x00x\\x1B[31m' is not a valid floating point value");
    EXPECT_EQ(errorOf("1\t\xFF\xC3\xA9\x7F\n"),
              "'\\xFF\xC3\xA9\\x7F' is not a valid floating point value");
    try {
        ReadDataFile(dir.file("no\x1B"
                              "file"));
        ADD_FAILURE() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.file("no\\x1Bfile"));
    }
}

} // namespace
} // namespace velmora
