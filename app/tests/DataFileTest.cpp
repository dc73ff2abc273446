// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DataFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST_F(DataFileTest, AFileWithoutNumbersHasNoTimePointsAndShortLinesLeaveZeros) {
    for (const std::string text : {"", "\n", " \t\r\n\n", "\xEF\xBB\xBF"}) {
        EXPECT_EQ(errorOf(text), path() + " holds no time points: it has no line of numbers");
    }
    const TDataTable table = read("7\t8\n9\n");
    ASSERT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.field(0, 2), 8.0);
    EXPECT_EQ(table.field(0, 3), 0.0);
    EXPECT_EQ(table.field(1, 2), 0.0);
    EXPECT_EQ(table.field(1, 10), 0.0);
}

// Every refusal of a line names the line and the column (in characters) where
// it is found, and quotes a field as typed; blank lines end a file harmlessly.
TEST_F(DataFileTest, ReadingErrorsNameTheirLineAndColumn) {
    const struct {
        const char* text;
        int line;
        int column;
        const char* what;
    } cases[] = {
        {"1\t2\n\n3\t4\n", 2, 1, "a blank line; only the lines at the end may be blank"},
        {"1\t2\n \t\n\n3\t4\n", 2, 1, "a blank line; only the lines at the end may be blank"},
        {"1\t\t2\n", 1, 3, "'' is not a valid floating point value"},
        {"1\t2\t\n", 1, 5, "'' is not a valid floating point value"},
        {"1\t2\n3\t1.5x\n", 2, 3, "'1.5x' is not a valid floating point value"},
        {"1\t2\r\n3\t1,5x\r\n", 2, 3, "'1,5x' is not a valid floating point value"},
        {"1\t2.5.1\n", 1, 3, "'2.5.1' is not a valid floating point value"},
        {"1\t1 000\n", 1, 3, "'1 000' is not a valid floating point value"},
        // The byte-order mark takes no column.
        {"\xEF\xBB\xBF"
         "1\t-\n",
         1, 3, "'-' is not a valid floating point value"},
        {"1\n2\n3\t4\t5\t-\n", 3, 7, "'-' is not a valid floating point value"},
        // A header names itself as one.
        {"Time\tV1\n1\t2\n", 1, 1,
         "'Time' is not a valid floating point value (the file holds numbers only, without a "
         "header line)"},
        {"1\tV1\n", 1, 3,
         "'V1' is not a valid floating point value (the file holds numbers only, without a "
         "header line)"},
        {"1\t2\nTime\n", 2, 1, "'Time' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf(c.text), path() + ", line " + std::to_string(c.line) + ", column " +
                                       std::to_string(c.column) + ": " + c.what)
            << c.text;
    }
    for (const std::string text : {"1\t2\n\n", "1\t2\n\t\n", "1\t2\n   \r\n\r\n \t", "1\t2"}) {
        const TDataTable table = read(text);
        ASSERT_EQ(table.lineCount(), 1) << text;
        EXPECT_EQ(table.field(0, 2), 2.0);
    }
}

TEST_F(DataFileTest, AFileThatCannotBeOpenedSaysWhy) {
    const auto errorOfFile = [](const std::string& name) {
        try {
            ReadDataFile(name);
        } catch (const RunError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOfFile(dir.file("missing.txt")),
              "Cannot open file " + dir.file("missing.txt") + ": No such file or directory");
    EXPECT_EQ(errorOfFile(dir.path().string()),
              "Cannot open file " + dir.path().string() + ": Is a directory");
    writeText("1\t2\n");
    std::filesystem::permissions(path(), std::filesystem::perms::none);
    if (!std::ifstream(path())) {
        EXPECT_EQ(errorOfFile(path()), "Cannot open file " + path() + ": Permission denied");
    }
    std::filesystem::permissions(path(), std::filesystem::perms::owner_all);
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
              path() + ", line 2, column 22: more than 10 fields");
    // The limit is checked before the eleventh field is parsed.
    EXPECT_EQ(errorOf("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\tx\n"),
              path() + ", line 1, column 22: more than 10 fields");
    std::string text;
    for (int i = 0; i < kMaxDataLines; ++i) {
        text += "1\n";
    }
    // Blank lines may follow the last line of the limit, numbers may not.
    EXPECT_EQ(read(text + "\n \n").lineCount(), kMaxDataLines);
    EXPECT_EQ(errorOf(text + "1\n"),
              path() + ", line 1001, column 1: beyond the limit of 1000 lines");
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
              "stream, line 1, column 65537: the line is longer than the limit of 65536 bytes");
    EXPECT_EQ(feeds, 16); // the first byte past 64 KiB
    // Blank lines at the end are ignored, but not without end.
    EXPECT_EQ(refusalOfStream(std::string(4096, '\n'), feeds),
              "stream, line 1001, column 1: more than 1000 blank lines at the end");
    EXPECT_EQ(feeds, 0);
    EXPECT_EQ(refusalOfStream("1\t2\r\n", feeds),
              "stream, line 1001, column 1: beyond the limit of 1000 lines");
    EXPECT_EQ(feeds, kMaxDataLines);
    // A line of exactly the limit is read; the limit holds for digits too.
    const std::string longest = std::string(kMaxDataLineBytes - 1, '0') + "1";
    const TDataTable table = read(longest + "\n" + longest);
    ASSERT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.field(1, 1), 1.0);
    EXPECT_EQ(errorOf("1\n" + longest + "0\n"),
              path() + ", line 2, column 65537: the line is longer than the limit of 65536 bytes");
    if (std::filesystem::exists("/dev/zero")) {
        try {
            ReadDataFile("/dev/zero");
            ADD_FAILURE() << "no error";
        } catch (const RunError& e) {
            EXPECT_EQ(std::string(e.what()), "/dev/zero, line 1, column 65537: the line is longer "
                                             "than the limit of 65536 bytes");
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
    // A mark anywhere else is no number, and is shown as a mark.
    EXPECT_EQ(errorOf("1\n\xEF\xBB\xBF"
                      "2\n"),
              path() + ", line 2, column 1: '\\uFEFF2' is not a valid floating point value");
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
              path() +
                  ", line 1, column 3: '2\\x00x\\x1B[31m' is not a valid floating point value");
    EXPECT_EQ(errorOf("1\t\xFF\xC3\xA9\x7F\n"),
              path() +
                  ", line 1, column 3: '\\xFF\xC3\xA9\\x7F' is not a valid floating point value");
    try {
        ReadDataFile(dir.file("no\x1B"
                              "file"));
        ADD_FAILURE() << "no error";
    } catch (const RunError& e) {
        // The reason is the system's: Windows takes no ESC in a name at all.
        const std::string shown = "Cannot open file " + dir.file("no\\x1Bfile") + ": ";
        EXPECT_EQ(std::string(e.what()).substr(0, shown.size()), shown);
    }
}

} // namespace
} // namespace velmora
