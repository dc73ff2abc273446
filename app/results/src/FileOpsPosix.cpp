// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's file operations on POSIX systems.
#include "FileOps.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velmora::fileops {

namespace {

// Links followed before a chain counts as a loop, as the kernel counts them.
constexpr int kMaxLinkHops = 40;

[[noreturn]] void fail(int error) {
    throw std::runtime_error(std::generic_category().message(error));
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

Target resolve(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0;; ++hop) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return {current, Target::Kind::Missing};
            }
            fail(errno);
        }
        if (S_ISREG(status.st_mode)) {
            return {current, Target::Kind::Regular};
        }
        if (S_ISDIR(status.st_mode)) {
            return {current, Target::Kind::Directory};
        }
        if (!S_ISLNK(status.st_mode)) {
            return {current, Target::Kind::Stream};
        }
        if (hop == kMaxLinkHops) {
            fail(ELOOP);
        }
        std::error_code error;
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
    // A hidden name beside the target: ".<name>.XXXXXX", made unique by mkstemp.
    std::string name = directory.string();
    name.append("/.").append(target.path.filename().string()).append(".XXXXXX");
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) {
        fail(errno);
    }
    path_ = name;
    struct stat old {};
    if (target.kind == Target::Kind::Regular && ::stat(target.path.c_str(), &old) == 0) {
        // Owner first: changing it may clear the set-id bits the mode restores.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
            ::fchown(fd_, old.st_uid, old.st_gid) != 0) {
            // Not permitted to give the file away: keep at least the group.
            [[maybe_unused]] const int ignored = ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        }
        if (::fchmod(fd_, old.st_mode & 07777) != 0) {
            fail(errno);
        }
    } else if (::fchmod(fd_, 0666 & ~currentUmask()) != 0) {
        fail(errno);
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!renamed_) {
        ::unlink(path_.c_str());
    }
}

void TemporaryFile::write(std::string_view bytes) {
    writeAll(fd_, bytes);
    if (::fsync(fd_) != 0) {
        fail(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        fail(errno);
    }
}

void TemporaryFile::renameOver(const std::filesystem::path& path) {
    if (::rename(path_.c_str(), path.c_str()) != 0) {
        fail(errno);
    }
    renamed_ = true;
}

void writeStraight(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
    }
    try {
        writeAll(fd, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        fail(errno);
    }
}

void writeStandardOutput(std::string_view bytes) {
    writeAll(STDOUT_FILENO, bytes);
    // A regular file or a disk behind standard output may refuse only now.
    if (::fsync(STDOUT_FILENO) != 0 && errno != EINVAL && errno != EROFS) {
        fail(errno);
    }
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace velmora::fileops
