// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DataFile.h"

#include "fit/Numbers.h"
#include "fit/Printable.h"
#include "fit/RunError.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool isUtf16(std::string_view head) {
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        return true;
    }
    // Without a mark: an ASCII character next to a NUL, in either order.
    const auto ascii = [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; };
    return head.size() >= 2 &&
           ((head[0] == '\0' && ascii(head[1])) || (ascii(head[0]) && head[1] == '\0'));
}

void readLine(std::string_view line, int lineNumber, const std::string& name,
              std::array<double, kMaxDataFields>& row) {
    int fieldCount = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        ++fieldCount;
        if (fieldCount > kMaxDataFields) {
            throw RunError("Line " + std::to_string(lineNumber) + " of " + printable(name) +
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

void DataFileParser::feed(std::string_view bytes) {
    if (!started_) {
        const std::size_t wanted = std::min(kUtf8Mark.size() - head_.size(), bytes.size());
        head_.append(bytes.substr(0, wanted));
        bytes.remove_prefix(wanted);
        if (head_.size() < kUtf8Mark.size()) {
            return;
        }
        started_ = true;
        if (isUtf16(head_)) {
            throw RunError(printable(name_) + " is UTF-16 text; save it as UTF-8 or ASCII");
        }
        for (char c : std::string_view(head_).substr(head_ == kUtf8Mark ? head_.size() : 0)) {
            take(c);
        }
    }
    for (char c : bytes) {
        take(c);
    }
}

TDataTable DataFileParser::finish() {
    if (!started_) {
        started_ = true;
        if (isUtf16(head_)) {
            throw RunError(printable(name_) + " is UTF-16 text; save it as UTF-8 or ASCII");
        }
        for (char c : head_) {
            take(c);
        }
    }
    if (lineOpen_) {
        endLine();
    }
    return std::move(table_);
}

void DataFileParser::take(char c) {
    if (afterCr_ && c == '\n') {
        afterCr_ = false;
        return;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
        endLine();
        return;
    }
    if (!lineOpen_) {
        if (table_.lineCount() == kMaxDataLines) {
            refuseLine("is beyond the limit of " + std::to_string(kMaxDataLines) + " lines");
        }
        lineOpen_ = true;
    }
    if (line_.size() == kMaxDataLineBytes) {
        refuseLine("is longer than the limit of " + std::to_string(kMaxDataLineBytes) + " bytes");
    }
    line_ += c == '.' ? ',' : c;
}

void DataFileParser::endLine() {
    if (table_.lineCount() == kMaxDataLines) {
        refuseLine("is beyond the limit of " + std::to_string(kMaxDataLines) + " lines");
    }
    const int lineNumber = table_.lineCount() + 1;
    readLine(line_, lineNumber, name_, table_.addRow());
    line_.clear();
    lineOpen_ = false;
}

void DataFileParser::refuseLine(const std::string& what) const {
    throw RunError("Line " + std::to_string(table_.lineCount() + 1) + " of " + printable(name_) +
                   " " + what);
}

TDataTable ReadDataFile(const std::string& name) {
    const auto cannotOpen = [&] { return RunError("Cannot open file " + printable(name)); };
    std::error_code ignored;
    if (std::filesystem::is_directory(name, ignored)) {
        throw cannotOpen();
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        throw cannotOpen();
    }
    DataFileParser parser(name);
    std::vector<char> chunk(64 * 1024);
    while (const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get())) {
        parser.feed({chunk.data(), got});
    }
    if (std::ferror(file.get())) {
        throw cannotOpen();
    }
    return parser.finish();
}

} // namespace velmora
