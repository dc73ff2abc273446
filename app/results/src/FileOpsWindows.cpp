// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's file operations on Windows: the same promises as on POSIX
// systems, except that Windows keeps permissions in the directory's
// inherited access lists, which a replaced file takes as any new file does.
#include "FileOps.h"

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

constexpr int kMaxLinkHops = 40;

[[noreturn]] void fail(int error) {
    throw std::runtime_error(std::generic_category().message(error));
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

} // namespace

Target resolve(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0;; ++hop) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::symlink_status(current, error);
        switch (status.type()) {
        case std::filesystem::file_type::not_found:
            return {current, Target::Kind::Missing};
        case std::filesystem::file_type::regular:
            return {current, Target::Kind::Regular};
        case std::filesystem::file_type::directory:
            return {current, Target::Kind::Directory};
        case std::filesystem::file_type::symlink:
            break;
        default:
            if (error) {
                fail(error.value());
            }
            return {current, Target::Kind::Stream};
        }
        if (hop == kMaxLinkHops) {
            fail(ELOOP);
        }
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error) {
            fail(error.value());
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
}

TemporaryFile::TemporaryFile(const Target& target) {
    std::filesystem::path directory = target.path.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        // Put together as a path, so that a name outside the ANSI code page
        // stays whole.
        path_ = directory / ".";
        path_ += target.path.filename();
        path_ += ".";
        path_ += std::to_string(random() % 1000000000);
        path_ += ".tmp";
        fd_ = ::_wopen(path_.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                       _S_IREAD | _S_IWRITE);
        if (fd_ < 0 && errno != EEXIST) {
            fail(errno);
        }
    }
    if (fd_ < 0) {
        fail(EEXIST);
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) {
        ::_close(fd_);
    }
    if (!renamed_) {
        ::_wunlink(path_.c_str());
    }
}

void TemporaryFile::write(std::string_view bytes) {
    writeAll(fd_, bytes);
    if (::_commit(fd_) != 0) {
        fail(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::_close(fd) != 0) {
        fail(errno);
    }
}

void TemporaryFile::renameOver(const std::filesystem::path& path) {
    if (!::MoveFileExW(path_.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failWindows(::GetLastError());
    }
    renamed_ = true;
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

void writeStandardOutput(std::string_view bytes) {
    writeAll(1, bytes);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace velmora::fileops
