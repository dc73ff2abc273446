// The measurement file: one line per time point, TAB-separated decimal
// fields (time, then V and H of wavelengths 1..4, then one stored field).
#pragma once

#include <array>
#include <string>
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

// Reads the measurement file `name` (opened by that name as given). Lines end
// with CR LF, LF or CR; a line break after the last line adds no line. Every
// "." of the text counts as the decimal comma. Throws RunError:
// - "Cannot open file <name>" when the file cannot be read;
// - "'<field>' is not a valid floating point value" for a field that is not
//   a number, an empty one included (empty lines, adjacent TABs, a trailing
//   TAB);
// - a message naming the limit and the line for a file of more than 1000
//   lines or a line of more than 10 fields.
TDataTable ReadDataFile(const std::string& name);

} // namespace velmora
