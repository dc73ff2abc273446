#include "fit/DataFile.h"

#include "fit/Numbers.h"
#include "fit/RunError.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace velmora {

namespace {

std::string readWholeFile(const std::string& name) {
    std::error_code ignored;
    std::ifstream file(name, std::ios::binary);
    if (!file || std::filesystem::is_directory(name, ignored)) {
        throw RunError("Cannot open file " + name);
    }
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        throw RunError("Cannot open file " + name);
    }
    return text;
}

// The lines of the text, without their breaks.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

void readLine(std::string_view line, int lineNumber, const std::string& name,
              std::array<double, kMaxDataFields>& row) {
    int fieldCount = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        ++fieldCount;
        if (fieldCount > kMaxDataFields) {
            throw RunError("Line " + std::to_string(lineNumber) + " of " + name +
                           " has more than " + std::to_string(kMaxDataFields) + " fields");
        }
        const std::string_view field = line.substr(
            start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        row[fieldCount - 1] = parseDecimal(field);
        if (tab == std::string_view::npos) {
            return;
        }
        start = tab + 1;
    }
}

} // namespace

TDataTable ReadDataFile(const std::string& name) {
    std::string text = readWholeFile(name);
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.size() > static_cast<std::size_t>(kMaxDataLines)) {
        throw RunError("Line " + std::to_string(kMaxDataLines + 1) + " of " + name +
                       " is beyond the limit of " + std::to_string(kMaxDataLines) + " lines");
    }
    TDataTable table;
    for (std::size_t r = 0; r < lines.size(); ++r) {
        readLine(lines[r], static_cast<int>(r) + 1, name, table.addRow());
    }
    return table;
}

} // namespace velmora
