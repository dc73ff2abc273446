// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/DataFiles.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

std::filesystem::path executableDirectory() {
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) {
        return {};
    }
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
#else
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
#endif
}

DataFileLookup findDataFile(std::string_view name, const std::filesystem::path& executableDir) {
    DataFileLookup lookup;
    if (!executableDir.empty()) {
        lookup.candidates.push_back(
            (executableDir / ".." / "share" / "velmora" / name).lexically_normal());
    }
    std::error_code error;
    const std::filesystem::path workingDir = std::filesystem::current_path(error);
    if (!error) {
        lookup.candidates.push_back(workingDir / name);
    }
    lookup.candidates.push_back(std::filesystem::path(VELMORA_SOURCE_DATA_DIR) / name);
    for (const std::filesystem::path& candidate : lookup.candidates) {
        if (std::filesystem::is_regular_file(candidate, error)) {
            lookup.found = candidate;
            break;
        }
    }
    return lookup;
}

} // namespace velmora
