// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary files removed when a signal ends the process while they exist:
// an interrupted write (Ctrl+C, kill, a closed terminal) leaves nothing
// behind beside the outputs.
#pragma once

#include <string>

namespace velmora::fileops {

// Registers the file `name` in the directory held open as the descriptor
// `directory`. Until it is unregistered, INT, TERM and HUP (where the process
// leaves them their default action) remove every registered file and then
// end the process as they would have; and a write past the file size limit
// fails with "File too large" instead of ending the process with XFSZ.
// Returns the registration, or -1 when too many files are registered at
// once (the file is then removed only by its owner).
int registerTemporary(int directory, const std::string& name);

// Ends a registration (ignores -1). Once none is left, the signals' actions
// are what they were before.
void unregisterTemporary(int registration);

} // namespace velmora::fileops
