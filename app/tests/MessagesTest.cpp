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
