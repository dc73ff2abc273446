// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement file: one line per time point, TAB-separated decimal
// fields (time, then V and H of wavelengths 1..4, then one stored field).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

constexpr int kMaxDataLines = 1000;
constexpr int kMaxDataFields = 10;

// The measurement table: row r (from 0) holds line r + 1 of the file, column
// c (1..10) its field c; fields a line does not have read as 0.
class TDataTable {
public:
    int lineCount() const { return static_cast<int>(rows_.size()); }
    double field(int row, int column) const { return rows_[row][column - 1]; }

    // Appends a row of zeros and returns it.
    std::array<double, kMaxDataFields>& addRow() { return rows_.emplace_back(); }

private:
    std::vector<std::array<double, kMaxDataFields>> rows_;
};

constexpr std::size_t kMaxDataLineBytes = 64 * 1024;

// Reads a measurement file from its bytes, given in pieces of any size as
// they arrive, and refuses it as soon as a piece shows that it is not one:
// the memory it takes is bounded by the table and one line, whatever the
// input. A UTF-8 byte-order mark at the start is skipped; UTF-16 text is
// refused as such. Lines end with CR LF, LF or CR; a line break after the
// last line adds no line, and blank lines (empty, or spaces and TABs only)
// at the end of the file are ignored. A field takes the full stop or the
// comma as its decimal mark. Every refusal of a line names the file, the
// line and the column (counted in characters from 1) where it is found,
// "<name>, line <l>, column <c>: <what>":
// - "'<field>' is not a valid floating point value" for a field that is not
//   a number, as typed, an empty one included (adjacent TABs, a trailing
//   TAB); on line 1 a field that begins with a letter (a header) adds that
//   the file holds numbers only;
// - a blank line that more lines follow;
// - the limits: a line past kMaxDataLines (blank lines at the end may follow
//   up to that many more), a line of more than 10 fields, a line longer than
//   kMaxDataLineBytes.
// Refuses a file without any line of numbers as holding no time points, and
// "<name> is UTF-16 text; save it as UTF-8 or ASCII". Names and fields are
// shown through printable().
class DataFileParser {
public:
    explicit DataFileParser(std::string name) : name_(std::move(name)) {}

    void feed(std::string_view bytes);
    // The table of the lines read; parses a last line that has no break.
    TDataTable finish();

private:
    void take(char c);
    void endLine();
    void readFields(int line);
    [[noreturn]] void refuse(int line, std::size_t column, const std::string& what) const;

    std::string name_;
    TDataTable table_;
    std::string line_;
    int linesEnded_ = 0;       // the lines ended so far, blank ones included
    int firstBlank_ = 0;       // the first of the blank lines since the last line of numbers
    bool started_ = false;     // the first bytes have been looked at
    bool afterCr_ = false;     // the last byte was a CR, so an LF ends nothing
    bool lineOpen_ = false;    // a line has begun and not ended
    bool lineHasText_ = false; // the open line has more than spaces and TABs
    std::string head_;         // the first bytes, until the encoding is known
};

// Reads the measurement file `name` (opened by that name as given) through a
// DataFileParser. Throws RunError "Cannot open file <name>: <reason>" when
// the file cannot be opened (missing, a directory, no permission, ...),
// "Cannot read file <name>: <reason>" when reading it fails, and the
// parser's errors.
TDataTable ReadDataFile(const std::string& name);

} // namespace velmora
