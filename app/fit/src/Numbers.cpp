// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Numbers.h"

#include "fit/Printable.h"
#include "fit/RunError.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace velmora {

namespace {

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Copies the digits at text[pos..] to out and returns how many there were.
std::size_t takeDigits(std::string_view text, std::size_t& pos, std::string& out) {
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        out += text[pos++];
    }
    return pos - start;
}

// The number in the form std::from_chars reads (full stop, no plus sign), or
// nothing when the text does not follow the grammar.
std::optional<std::string> normalisedDecimal(std::string_view text) {
    std::string out;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') {
            out += '-';
        }
        ++pos;
    }
    std::size_t digits = takeDigits(text, pos, out);
    if (pos < text.size() && (text[pos] == ',' || text[pos] == '.')) {
        out += '.';
        ++pos;
        digits += takeDigits(text, pos, out);
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        out += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            out += text[pos++];
        }
        if (takeDigits(text, pos, out) == 0) {
            return std::nullopt;
        }
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<double> tryParseDecimal(std::string_view text) {
    const std::optional<std::string> normalised = normalisedDecimal(trimSpaces(text));
    if (!normalised) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* end = normalised->data() + normalised->size();
    const auto [ptr, ec] = std::from_chars(normalised->data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

double parseDecimal(std::string_view text) {
    const std::optional<double> value = tryParseDecimal(text);
    if (!value) {
        throw RunError("'" + printable(text) + "' is not a valid floating point value");
    }
    return *value;
}

int parseInteger(std::string_view text) {
    std::string_view body = trimSpaces(text);
    if (body.size() > 1 && body.front() == '+' && isDigit(body[1])) {
        body.remove_prefix(1);
    }
    std::int32_t value = 0;
    const char* end = body.data() + body.size();
    const auto [ptr, ec] = std::from_chars(body.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        throw RunError("'" + printable(text) + "' is not a valid integer value");
    }
    return value;
}

std::string formatFixed(double value, int decimals) {
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals);
    std::string text(buffer.data(), ec == std::errc() ? end : buffer.data());
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string formatGeneral(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    std::string text(buffer.data(), ec == std::errc() ? end : buffer.data());
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

} // namespace velmora
