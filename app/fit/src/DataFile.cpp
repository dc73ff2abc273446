// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DataFile.h"

#include "fit/Numbers.h"
#include "fit/Printable.h"
#include "fit/RunError.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
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

bool isBlankCharacter(char c) {
    return c == ' ' || c == '\t';
}

// The column, counted in characters from 1, of the byte at `offset` of a
// line: the continuation bytes of a UTF-8 character add no column.
std::size_t columnOf(std::string_view line, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
        column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80 ? 1 : 0;
    }
    return column;
}

bool beginsWithLetter(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    const char c = field[first];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string notANumber(std::string_view field) {
    std::string what = printable(field);
    what.insert(0, 1, '\'');
    what.append("' is not a valid floating point value");
    return what;
}

// The words with the number between them, built by appending (the
// compiler's overlap check misreads a literal joined to a new string).
std::string withNumber(std::string_view before, std::size_t number, std::string_view after) {
    std::string text(before);
    text.append(std::to_string(number)).append(after);
    return text;
}

std::string limitOfLines() {
    return withNumber("beyond the limit of ", kMaxDataLines, " lines");
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
    if (table_.lineCount() == 0) {
        throw RunError(printable(name_) + " holds no time points: it has no line of numbers");
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
    lineOpen_ = true;
    const int line = linesEnded_ + 1;
    if (!lineHasText_ && !isBlankCharacter(c)) {
        // A line with text shows at its first character that the blank lines
        // before it were not the end of the file, or that it is one too many.
        if (firstBlank_ != 0) {
            refuse(firstBlank_, 1, "a blank line; only the lines at the end may be blank");
        }
        if (linesEnded_ == kMaxDataLines) {
            refuse(line, 1, limitOfLines());
        }
        lineHasText_ = true;
    }
    if (line_.size() == kMaxDataLineBytes) {
        refuse(line, columnOf(line_, line_.size()),
               withNumber("the line is longer than the limit of ", kMaxDataLineBytes, " bytes"));
    }
    line_ += c;
}

void DataFileParser::endLine() {
    const int line = ++linesEnded_;
    if (lineHasText_) {
        readFields(line);
    } else if (firstBlank_ == 0) {
        firstBlank_ = line;
    } else if (line - firstBlank_ >= kMaxDataLines) {
        refuse(line, 1, withNumber("more than ", kMaxDataLines, " blank lines at the end"));
    }
    line_.clear();
    lineOpen_ = false;
    lineHasText_ = false;
}

void DataFileParser::readFields(int line) {
    std::array<double, kMaxDataFields> row{};
    int fieldCount = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line_.find('\t', start);
        if (++fieldCount > kMaxDataFields) {
            refuse(line, columnOf(line_, start),
                   withNumber("more than ", kMaxDataFields, " fields"));
        }
        const std::string_view field = std::string_view(line_).substr(
            start, tab == std::string::npos ? std::string_view::npos : tab - start);
        const std::optional<double> value = tryParseDecimal(field);
        if (!value) {
            const bool header = line == 1 && beginsWithLetter(field);
            refuse(line, columnOf(line_, start),
                   notANumber(field) +
                       (header ? " (the file holds numbers only, without a header line)" : ""));
        }
        row[fieldCount - 1] = *value;
        if (tab == std::string::npos) {
            break;
        }
        start = tab + 1;
    }
    table_.addRow() = row;
}

void DataFileParser::refuse(int line, std::size_t column, const std::string& what) const {
    throw RunError(printable(name_) + ", line " + std::to_string(line) + ", column " +
                   std::to_string(column) + ": " + what);
}

TDataTable ReadDataFile(const std::string& name) {
    const auto failure = [&](const char* action, int error) {
        return RunError(std::string("Cannot ") + action + " file " + printable(name) + ": " +
                        std::generic_category().message(error));
    };
    std::error_code ignored;
    if (std::filesystem::is_directory(name, ignored)) {
        throw failure("open", EISDIR);
    }
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        throw failure("open", errno != 0 ? errno : ENOENT);
    }
    DataFileParser parser(name);
    std::vector<char> chunk(64 * 1024);
    errno = 0;
    while (const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get())) {
        parser.feed({chunk.data(), got});
    }
    if (std::ferror(file.get())) {
        throw failure("read", errno != 0 ? errno : EIO);
    }
    return parser.finish();
}

} // namespace velmora
