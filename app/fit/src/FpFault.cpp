// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/FpFault.h"

#include "fit/RunError.h"

#include <cfenv>
#include <cstdint>

namespace velmora {

namespace {

constexpr int kFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

#if defined(__i386__)
// 32-bit x86 keeps the flags twice: in the x87 status word (long double
// arithmetic, the runtime's sine, exponential, power) and in SSE's MXCSR
// (double arithmetic). Both are read and cleared here directly, as the
// hardware lays them out (FE_INVALID, FE_DIVBYZERO and FE_OVERFLOW are their
// bits): MinGW-w64's feclearexcept and fetestexcept ask the processor with
// CPUID on every call whether it has SSE, which under virtualisation costs
// microseconds, and a fit tests the flags several times per model value.
static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);

void clearFlags(int flags) {
    // Clears every x87 flag: the program reads none but these.
    asm volatile("fnclex");
    std::uint32_t control = 0;
    asm volatile("stmxcsr %0" : "=m"(control));
    control &= ~static_cast<std::uint32_t>(flags);
    asm volatile("ldmxcsr %0" : : "m"(control));
}

int testFlags(int flags) {
    std::uint16_t status = 0;
    std::uint32_t control = 0;
    asm volatile("fnstsw %0" : "=m"(status));
    asm volatile("stmxcsr %0" : "=m"(control));
    return static_cast<int>((status | control) & static_cast<std::uint32_t>(flags));
}
#else
void clearFlags(int flags) {
    std::feclearexcept(flags);
}

int testFlags(int flags) {
    return std::fetestexcept(flags);
}
#endif

} // namespace

void clearFpFlags() {
    clearFlags(kFaultFlags);
}

FpFault raisedFpFault() {
    const int flags = testFlags(kFaultFlags);
    if (flags == 0) {
        return FpFault::None;
    }
    if (flags & FE_DIVBYZERO) {
        return FpFault::DivisionByZero;
    }
    if (flags & FE_OVERFLOW) {
        return FpFault::Overflow;
    }
    return FpFault::InvalidOperation;
}

const char* fpFaultMessage(FpFault fault) {
    switch (fault) {
    case FpFault::DivisionByZero:
        return "Floating point division by zero";
    case FpFault::Overflow:
        return "Floating point overflow";
    case FpFault::InvalidOperation:
        return "Invalid floating point operation";
    case FpFault::None:
        break;
    }
    return "";
}

void throwFpFault(FpFault fault) {
    throw RunError(fpFaultMessage(fault));
}

} // namespace velmora
