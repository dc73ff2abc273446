#include "fit/FpFault.h"

#include "fit/RunError.h"

#include <cfenv>

namespace velmora {

namespace {
constexpr int kFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

void clearFpFlags() {
    std::feclearexcept(kFaultFlags);
}

FpFault raisedFpFault() {
    const int flags = std::fetestexcept(kFaultFlags);
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
