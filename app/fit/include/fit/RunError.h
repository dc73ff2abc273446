// SPDX-License-Identifier: GPL-3.0-or-later
// The failure of a run.
#pragma once

#include "fit/Fields.h"

#include <stdexcept>

namespace velmora {

// The failure of a run; what() is the message the user sees, exactly.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure caused by one field: its text is not a number, or the run
// refuses its value. The message is the one a RunError would carry.
class FieldError : public RunError {
public:
    FieldError(const std::string& message, Field field) : RunError(message), field_(field) {}
    Field field() const { return field_; }

private:
    Field field_;
};

} // namespace velmora
