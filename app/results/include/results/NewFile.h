// A file created for writing that did not exist before, on every platform.
#pragma once

#include <cstdio>
#include <filesystem>

namespace velmora {

// Creates the file and opens it for writing bytes as they are; fails, with
// errno EEXIST, if anything exists under the name, which it leaves as it
// was. Returns nullptr with errno set on failure. The fopen mode "wbx" is
// not enough: Windows' C runtime ignores or refuses its "x".
std::FILE* createNewFile(const std::filesystem::path& path);

} // namespace velmora
