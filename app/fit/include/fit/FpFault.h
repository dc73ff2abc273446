// SPDX-License-Identifier: GPL-3.0-or-later
// Floating-point faults of a run, found from the IEEE exception flags.
//
// A run clears the flags before a step that can fault and tests them right
// after it, step by step in the order the formulas evaluate, so the first
// faulting step names the fault. When one step raises several flags at once
// (only possible inside a library call), division by zero comes before
// overflow, and both before an invalid operation: an invalid operation
// nearly always follows from the infinity that one of the others produced.
// Underflow and inexact results are not faults.
#pragma once

#include <cstdint>

namespace velmora {

enum class FpFault : std::uint8_t { None, DivisionByZero, Overflow, InvalidOperation };

// Clears the division-by-zero, invalid-operation and overflow flags.
void clearFpFlags();

// The fault the flags report since they were last cleared.
FpFault raisedFpFault();

// The user-facing message of a fault: "Floating point division by zero",
// "Invalid floating point operation" or "Floating point overflow".
const char* fpFaultMessage(FpFault fault);

// Throws RunError with the fault's message.
[[noreturn]] void throwFpFault(FpFault fault);

// Pins the values at this point of the program: computations that produce
// them are finished here, and computations that use them start after here.
// Placed between clearing or testing the flags and the arithmetic, it keeps
// the compiler from moving arithmetic across the flag operations.
template <typename Value> inline void pinOneFp(Value& value) {
    asm volatile("" : "+m"(value) : : "memory");
}
template <typename... Values> inline void pinFp(Values&... values) {
    (pinOneFp(values), ...);
}

// The fault raised since the flags were last cleared, tested once the values
// are computed.
template <typename... Values> inline FpFault faultAfter(Values&... values) {
    pinFp(values...);
    return raisedFpFault();
}

// Throws RunError with the fault raised since the flags were last cleared,
// tested once the values are computed; nothing when none was raised.
template <typename... Values> inline void throwIfFpFault(Values&... values) {
    if (const FpFault fault = faultAfter(values...); fault != FpFault::None) {
        throwFpFault(fault);
    }
}

} // namespace velmora
