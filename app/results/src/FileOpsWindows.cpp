// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's file operations on Windows: the same promises as on POSIX
// systems, except that Windows keeps permissions in the directory's
// inherited access lists, which a replaced file takes as any new file does,
// and that the console's Ctrl+C, Ctrl+Break and close events take the place
// of the signals that remove a temporary file.
#include "FileOps.h"

#include "SignalCleanup.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <windows.h>

namespace velmora::fileops {

namespace {

// The longest name of a file, in UTF-16 units, and what a temporary name
// adds to the target's: "." before, "." and nine digits and ".tmp" after.
constexpr std::size_t kMaxNameUnits = 255;
constexpr std::size_t kTemporaryNameUnits = 15;

[[noreturn]] void fail(int error) {
    throw std::runtime_error(std::generic_category().message(error));
}

[[noreturn]] void fail(int error, const std::string& why) {
    std::string message = std::generic_category().message(error);
    message.append(" (").append(why).append(")");
    throw std::runtime_error(message);
}

[[noreturn]] void failWindows(DWORD error) {
    throw std::runtime_error(std::system_category().message(static_cast<int>(error)));
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 30));
        const int written = ::_write(fd, bytes.data(), piece);
        if (written < 0) {
            fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::filesystem::path directoryOf(const std::filesystem::path& path) {
    const std::filesystem::path directory = path.parent_path();
    return directory.empty() ? std::filesystem::path(".") : directory;
}

// The name cut to at most `limit` UTF-16 units, never inside a pair.
std::wstring shortened(const std::wstring& name, std::size_t limit) {
    if (name.size() <= limit) {
        return name;
    }
    std::size_t end = limit;
    if (end > 0 && name[end] >= 0xDC00 && name[end] <= 0xDFFF) {
        --end;
    }
    return name.substr(0, end);
}

} // namespace

Entry entryAt(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    switch (status.type()) {
    case std::filesystem::file_type::not_found:
        return Entry::Missing;
    case std::filesystem::file_type::regular:
        return Entry::Regular;
    case std::filesystem::file_type::directory:
        return Entry::Directory;
    case std::filesystem::file_type::symlink:
        return Entry::Link;
    default:
        if (error) {
            fail(error.value());
        }
        return Entry::Stream;
    }
}

void checkReplaceable(const Target& target) {
    std::error_code error;
    const std::filesystem::file_status directory =
        std::filesystem::status(directoryOf(target.path), error);
    if (directory.type() == std::filesystem::file_type::not_found) {
        fail(ENOENT);
    }
    if (directory.type() != std::filesystem::file_type::directory) {
        fail(ENOTDIR);
    }
    if (target.kind != Target::Kind::Regular) {
        return;
    }
    // A read-only file cannot be replaced by a rename.
    const std::filesystem::file_status file = std::filesystem::status(target.path, error);
    if (!error && (file.permissions() & std::filesystem::perms::owner_write) ==
                      std::filesystem::perms::none) {
        fail(EACCES, "the file is read-only");
    }
}

// Held by a TemporaryFile, and cleaned up by its own destructor, so that a
// constructor that fails half way removes what it made.
struct TemporaryFile::State {
    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (fd >= 0) {
            ::_close(fd);
        }
        if (!renamed && !path.empty()) {
            ::_wunlink(path.c_str());
        }
        unregisterTemporary(registration);
    }

    std::filesystem::path path;   // the temporary file, once created
    std::filesystem::path target; // the file it replaces
    int fd = -1;
    int registration = -1; // in the registry of files Ctrl+C removes
    bool renamed = false;
};

TemporaryFile::TemporaryFile(const Target& target) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.target = target.path;
    const std::filesystem::path directory = directoryOf(target.path);
    // Put together as a path, so that a name outside the ANSI code page
    // stays whole.
    const std::wstring stem =
        L"." + shortened(target.path.filename().wstring(), kMaxNameUnits - kTemporaryNameUnits) +
        L".";
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && s.fd < 0; ++attempt) {
        const std::filesystem::path path =
            directory / (stem + std::to_wstring(random() % 1000000000) + L".tmp");
        // Shared for deleting, so that Ctrl+C can remove it while it is open.
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS) {
                failWindows(error);
            }
            continue;
        }
        s.fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
        if (s.fd < 0) {
            ::CloseHandle(file);
            ::DeleteFileW(path.c_str());
            fail(errno);
        }
        s.path = path;
        s.registration = registerTemporary(path);
    }
    if (s.fd < 0) {
        fail(EEXIST);
    }
}

TemporaryFile::~TemporaryFile() = default;

void TemporaryFile::write(std::string_view bytes) {
    State& s = *state_;
    writeAll(s.fd, bytes);
    if (::_commit(s.fd) != 0) {
        fail(errno);
    }
    const int fd = s.fd;
    s.fd = -1;
    if (::_close(fd) != 0) {
        fail(errno);
    }
}

void TemporaryFile::renameOverTarget() {
    State& s = *state_;
    if (!::MoveFileExW(s.path.c_str(), s.target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failWindows(::GetLastError());
    }
    s.renamed = true;
    unregisterTemporary(s.registration);
    s.registration = -1;
}

void writeStraight(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        fail(errno);
    }
    try {
        writeAll(fd, bytes);
    } catch (...) {
        ::_close(fd);
        throw;
    }
    if (::_close(fd) != 0) {
        fail(errno);
    }
}

void writeDescriptor(int descriptor, std::string_view bytes) {
    writeAll(descriptor, bytes);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace velmora::fileops
