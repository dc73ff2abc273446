// The failure of a run.
#pragma once

#include <stdexcept>

namespace velmora {

// The failure of a run; what() is the message the user sees, exactly.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace velmora
