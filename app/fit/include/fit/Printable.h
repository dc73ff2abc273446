// SPDX-License-Identifier: GPL-3.0-or-later
// Text from a file, a field or a file name, made safe to show in a message.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The text with everything that a terminal or a message box would not show
// as itself written as an escape, so that a message can neither move the
// cursor, recolour the terminal, reverse the text around it nor hide part of
// a name:
// - bytes that are control characters (NUL, TAB, LF, ESC, DEL, ...) or not
//   part of a well-formed UTF-8 character, as \xNN;
// - well-formed characters that are controls, invisible formatting or line
//   breaks of their own (the C1 controls U+0080..U+009F, the byte-order mark
//   U+FEFF, the zero-width and joining characters U+200B..U+200F, the
//   direction marks, embeddings, overrides and isolates such as U+202E, the
//   line and paragraph separators U+2028 and U+2029, the soft hyphen, the
//   tag characters, ...), as \uXXXX or, beyond U+FFFF, \UXXXXXXXX.
// Printable ASCII and every other well-formed UTF-8 character stay as they
// are.
std::string printable(std::string_view text);

} // namespace velmora
