// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Printable.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velmora {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The length of the well-formed UTF-8 character at text[pos] (2..4), or 0.
std::size_t utf8Length(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size() || byte(pos + 1) < low || byte(pos + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// The code point of a well-formed character of `length` bytes.
std::uint32_t codePoint(std::string_view character) {
    static constexpr unsigned char kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    std::uint32_t value = static_cast<unsigned char>(character[0]) & kLeadBits[character.size()];
    for (std::size_t i = 1; i < character.size(); ++i) {
        value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    }
    return value;
}

struct Range {
    std::uint32_t first;
    std::uint32_t last;
};

// The characters beyond ASCII that show nothing or steer the display: the C1
// controls, the format characters and the line and paragraph separators.
constexpr std::array kHidden{
    Range{0x0080, 0x009F},   Range{0x00AD, 0x00AD},   Range{0x0600, 0x0605},
    Range{0x061C, 0x061C},   Range{0x06DD, 0x06DD},   Range{0x070F, 0x070F},
    Range{0x0890, 0x0891},   Range{0x08E2, 0x08E2},   Range{0x180E, 0x180E},
    Range{0x200B, 0x200F},   Range{0x2028, 0x202E},   Range{0x2060, 0x2064},
    Range{0x2066, 0x206F},   Range{0xFEFF, 0xFEFF},   Range{0xFFF9, 0xFFFB},
    Range{0x110BD, 0x110BD}, Range{0x110CD, 0x110CD}, Range{0x13430, 0x1343F},
    Range{0x1BCA0, 0x1BCA3}, Range{0x1D173, 0x1D17A}, Range{0xE0001, 0xE0001},
    Range{0xE0020, 0xE007F},
};

bool isHidden(std::uint32_t point) {
    return std::any_of(kHidden.begin(), kHidden.end(),
                       [&](const Range& r) { return point >= r.first && point <= r.last; });
}

void appendHex(std::string& out, std::uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += kHex[(value >> shift) & 0xF];
    }
}

} // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c >= 0x20 && c < 0x7F) {
            out += text[pos++];
            continue;
        }
        if (const std::size_t length = c >= 0x80 ? utf8Length(text, pos) : 0; length > 0) {
            const std::string_view character = text.substr(pos, length);
            if (const std::uint32_t point = codePoint(character); isHidden(point)) {
                out += point > 0xFFFF ? "\\U" : "\\u";
                appendHex(out, point, point > 0xFFFF ? 8 : 4);
            } else {
                out.append(character);
            }
            pos += length;
            continue;
        }
        out += "\\x";
        appendHex(out, c, 2);
        ++pos;
    }
    return out;
}

} // namespace velmora
