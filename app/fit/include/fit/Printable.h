// SPDX-License-Identifier: GPL-3.0-or-later
// Text from a file or a field, made safe to show in a message.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The text with every byte that a terminal or a message box would not show
// as itself written as \xNN: control characters (NUL, ESC, DEL, ...) and
// bytes that are not part of a well-formed UTF-8 character. Printable ASCII
// and well-formed UTF-8 characters stay as they are.
std::string printable(std::string_view text);

} // namespace velmora
