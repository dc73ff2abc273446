// SPDX-License-Identifier: GPL-3.0-or-later
// Coverage-guided fuzzing of the measurement reader (libFuzzer). Each input
// is read twice, whole and in pieces whose size its first byte picks, and
// both readings must end alike: the same table or the same message. Any
// other exception, a crash or a sanitizer report is a finding.
#include "fit/DataFile.h"
#include "fit/RunError.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// The table as text, or the message of the refusal.
std::string outcome(std::string_view bytes, std::size_t piece) {
    velmora::DataFileParser parser("fuzz.txt");
    try {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            parser.feed(bytes.substr(at, piece));
        }
        const velmora::TDataTable table = parser.finish();
        if (table.lineCount() > velmora::kMaxDataLines) {
            std::abort();
        }
        std::string text;
        for (int row = 0; row < table.lineCount(); ++row) {
            for (int column = 1; column <= velmora::kMaxDataFields; ++column) {
                const double value = table.field(row, column);
                text.append(reinterpret_cast<const char*>(&value), sizeof value);
            }
        }
        return text;
    } catch (const velmora::RunError& e) {
        return std::string("error: ") + e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 97;
    if (outcome(bytes, std::max<std::size_t>(size, 1)) != outcome(bytes, piece)) {
        std::abort();
    }
    return 0;
}
