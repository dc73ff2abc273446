// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/OutOfMemory.h"
#include "fit/Printable.h"

#include <gtest/gtest.h>

#include <new>

namespace velmora {
namespace {

TEST(PrintableTest, KeepsPrintableTextAndWellFormedUtf8) {
    EXPECT_EQ(printable("1,5e-3 abc ~"), "1,5e-3 abc ~");
    EXPECT_EQ(printable("\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(printable(""), "");
}

TEST(PrintableTest, EscapesControlsAndMalformedBytes) {
    EXPECT_EQ(printable(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(printable("\t\r\n\x1B\x7F"), "\\x09\\x0D\\x0A\\x1B\\x7F");
    EXPECT_EQ(printable("\xC3"), "\\xC3");                            // cut short
    EXPECT_EQ(printable("\xC0\xAF"), "\\xC0\\xAF");                   // overlong
    EXPECT_EQ(printable("\xE0\x80\xAF"), "\\xE0\\x80\\xAF");          // overlong, three bytes
    EXPECT_EQ(printable("\xED\xA0\x80"), "\\xED\\xA0\\x80");          // a surrogate
    EXPECT_EQ(printable("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80"); // past U+10FFFF
    EXPECT_EQ(printable("\xE2\x82x"), "\\xE2\\x82x");
    EXPECT_EQ(printable("\xFE\xFF"), "\\xFE\\xFF");
}

// Well-formed characters that show nothing or steer the display: C1
// controls, the byte-order mark, zero-width, direction and tag characters,
// line separators. Their neighbours in the tables stay as they are.
TEST(PrintableTest, EscapesInvisibleAndSteeringCharacters) {
    EXPECT_EQ(printable("a\xC2\x85"
                        "b\xC2\x9B"
                        "31m"),
              "a\\u0085b\\u009B31m");
    EXPECT_EQ(printable("\xC2\x9F\xC2\xA0\xC2\xAD"), "\\u009F\xC2\xA0\\u00AD");
    EXPECT_EQ(printable("\xEF\xBB\xBF"
                        "DemoDat.txt"),
              "\\uFEFFDemoDat.txt");
    EXPECT_EQ(printable("evil\xE2\x80\xAEtxt.exe"), "evil\\u202Etxt.exe");
    EXPECT_EQ(printable("a\xE2\x80\x8A\xE2\x80\x8B\xE2\x80\x8F\xE2\x80\x90"),
              "a\xE2\x80\x8A\\u200B\\u200F\xE2\x80\x90");
    EXPECT_EQ(printable("\xE2\x80\xA8\xE2\x81\xA6\xE2\x81\xA9\xD8\x9C"),
              "\\u2028\\u2066\\u2069\\u061C");
    EXPECT_EQ(printable("\xF3\xA0\x80\x81\xF3\xA0\x81\xBF\xF3\xA0\x82\x80"),
              "\\U000E0001\\U000E007F\xF3\xA0\x82\x80");
}

TEST(OutOfMemoryTest, AnAllocationFailureNamesWhatRanOut) {
    try {
        // Thrown as the allocator throws it (a real one would stop the
        // sanitizer build before the exception).
        withMemoryFor("a radius grid of 1000 steps", [] { throw std::bad_alloc(); });
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(std::string(e.what()), "Not enough memory for a radius grid of 1000 steps");
    }
    EXPECT_EQ(withMemoryFor("nothing", [] { return 7; }), 7);
}

} // namespace
} // namespace velmora
