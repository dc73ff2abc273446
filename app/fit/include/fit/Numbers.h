// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as the window's fields and the measurement file write them, and
// the fixed-decimal format of the result tables. Nothing here depends on the
// locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A decimal number: an optional sign, digits, optionally a decimal mark (the
// comma or the full stop) and more digits, optionally "E" or "e" and an
// optionally signed integer exponent; spaces before and after are ignored.
// Nothing when the text is not such a number or is out of the double range.
std::optional<double> tryParseDecimal(std::string_view text);

// As tryParseDecimal; throws RunError "'<text>' is not a valid floating point
// value" otherwise.
double parseDecimal(std::string_view text);

// An optionally signed integer that fits 32 bits, spaces around it ignored;
// throws RunError "'<text>' is not a valid integer value" otherwise.
int parseInteger(std::string_view text);

// The value in fixed notation with exactly `decimals` decimals, rounded to
// the nearest, with "." as decimal point and "-" for a negative value (none
// when every written digit is 0).
std::string formatFixed(double value, int decimals);

// The shortest form of up to 15 significant digits, with the comma as
// decimal mark, as the window shows a number ("457,9").
std::string formatGeneral(double value);

} // namespace velmora
