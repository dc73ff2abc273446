// SPDX-License-Identifier: GPL-3.0-or-later
// The names of a process's own open descriptors, on every system.
#include "FileOps.h"

#include <charconv>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace velmora::fileops {

namespace {

std::optional<int> numberAfter(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size()) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    int descriptor = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), descriptor);
    if (error != std::errc() || end != name.data() + name.size() || descriptor < 0) {
        return std::nullopt;
    }
    return descriptor;
}

} // namespace

std::optional<int> descriptorNamed(const std::filesystem::path& path) {
    const std::string name = path.lexically_normal().generic_string();
    if (name == "/dev/stdin") {
        return 0;
    }
    if (name == "/dev/stdout") {
        return 1;
    }
    if (name == "/dev/stderr") {
        return 2;
    }
    std::optional<int> descriptor = numberAfter(name, "/dev/fd/");
    if (!descriptor) {
        descriptor = numberAfter(name, "/proc/self/fd/");
    }
#ifndef _WIN32
    if (!descriptor) {
        descriptor = numberAfter(name, "/proc/" + std::to_string(::getpid()) + "/fd/");
    }
#endif
    return descriptor;
}

} // namespace velmora::fileops
