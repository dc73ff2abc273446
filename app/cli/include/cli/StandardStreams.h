// SPDX-License-Identifier: GPL-3.0-or-later
// What velmora-fit needs to know of its standard streams, the same on every
// platform.
#pragma once

namespace velmora::cli {

// Whether standard error is a terminal, where the progress bar is drawn.
bool standardErrorIsTerminal();

// Makes standard output and standard error write their bytes as they are:
// Windows' C runtime would otherwise turn every "\n" into "\r\n", and the
// tables would differ from the same run's on Linux.
void writeStandardStreamsUntranslated();

} // namespace velmora::cli
