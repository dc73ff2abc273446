// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary files removed when a signal ends the process while they exist:
// an interrupted write (Ctrl+C, kill, a closed terminal) leaves nothing
// behind beside the outputs.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::fileops {

#ifdef _WIN32
// Registers the file at `path`, which must be open with FILE_SHARE_DELETE.
// Until it is unregistered, the console's Ctrl+C, Ctrl+Break and close
// events remove every registered file before the process ends as they
// would have. Returns the registration.
int registerTemporary(const std::filesystem::path& path);
#else

// Registers the file `name` in the directory held open as the descriptor
// `directory`. Until it is unregistered, INT, TERM and HUP (where the process
// leaves them their default action) remove every registered file and then
// end the process as they would have; and a write past the file size limit
// fails with "File too large" instead of ending the process with XFSZ.
// Returns the registration, or -1 when too many files are registered at
// once (the file is then removed only by its owner).
int registerTemporary(int directory, const std::string& name);
#endif

// Ends a registration (ignores -1). Once none is left, the signals' actions
// (the console's handlers) are what they were before.
void unregisterTemporary(int registration);

} // namespace velmora::fileops
