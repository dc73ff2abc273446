// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's file operations on POSIX systems.
#include "FileOps.h"

#include "SignalCleanup.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velmora::fileops {

namespace {

// What a temporary name adds to the target's: "." before, ".XXXXXX" after.
constexpr std::size_t kTemporaryNameBytes = 8;

std::string reason(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void fail(int error) {
    throw std::runtime_error(reason(error));
}

[[noreturn]] void fail(int error, const std::string& why) {
    std::string message = reason(error);
    message.append(" (").append(why).append(")");
    throw std::runtime_error(message);
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

std::filesystem::path directoryOf(const std::filesystem::path& path) {
    const std::filesystem::path directory = path.parent_path();
    return directory.empty() ? std::filesystem::path(".") : directory;
}

// The name cut to at most `limit` bytes, never inside a UTF-8 character.
std::string shortened(const std::string& name, std::size_t limit) {
    if (name.size() <= limit) {
        return name;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random(std::random_device{}() ^
                                        static_cast<std::uint64_t>(::getpid()));
    std::string suffix(6, 'X');
    for (char& c : suffix) {
        c = kLetters[random() % (sizeof kLetters - 1)];
    }
    return suffix;
}

// Whether the file is the root of a mount of its own (a file bind-mounted
// over another), which no rename can replace.
bool isMountedOnItsOwn(const std::filesystem::path& file, const struct stat& fileStatus,
                       const struct stat& directoryStatus) {
#ifdef STATX_ATTR_MOUNT_ROOT
    struct statx extended {};
    if (::statx(AT_FDCWD, file.c_str(), 0, STATX_BASIC_STATS, &extended) == 0 &&
        (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0) {
        return (extended.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    }
#else
    static_cast<void>(file);
#endif
    return fileStatus.st_dev != directoryStatus.st_dev;
}

} // namespace

Entry entryAt(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return Entry::Missing;
        }
        fail(errno);
    }
    if (S_ISREG(status.st_mode)) {
        return Entry::Regular;
    }
    if (S_ISDIR(status.st_mode)) {
        return Entry::Directory;
    }
    return S_ISLNK(status.st_mode) ? Entry::Link : Entry::Stream;
}

void checkReplaceable(const Target& target) {
    const std::filesystem::path directory = directoryOf(target.path);
    struct stat directoryStatus {};
    if (::stat(directory.c_str(), &directoryStatus) != 0) {
        fail(errno);
    }
    if (!S_ISDIR(directoryStatus.st_mode)) {
        fail(ENOTDIR);
    }
    if (::faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        fail(errno, "the directory may not be written");
    }
    if (target.kind != Target::Kind::Regular) {
        return;
    }
    struct stat fileStatus {};
    if (::stat(target.path.c_str(), &fileStatus) != 0) {
        fail(errno);
    }
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        if ((fileStatus.st_mode & 0222) == 0) {
            fail(error, "the file is read-only");
        }
        fail(error);
    }
    const uid_t user = ::geteuid();
    if ((directoryStatus.st_mode & S_ISVTX) != 0 && user != 0 && fileStatus.st_uid != user &&
        directoryStatus.st_uid != user) {
        fail(EPERM, "the file belongs to another user, in a directory where only a file's owner "
                    "may replace it");
    }
    if (isMountedOnItsOwn(target.path, fileStatus, directoryStatus)) {
        fail(EBUSY, "the file is mounted on its own and cannot be replaced");
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
            ::close(fd);
        }
        if (!renamed && !name.empty()) {
            ::unlinkat(directory, name.c_str(), 0);
        }
        unregisterTemporary(registration);
        if (directory >= 0) {
            ::close(directory);
        }
    }

    int directory = -1;     // the target's directory, held open
    std::string targetName; // the target's name in it
    std::string name;       // the temporary file's name in it, once created
    int fd = -1;
    int registration = -1; // in the registry of files a signal removes
    bool renamed = false;
};

TemporaryFile::TemporaryFile(const Target& target) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.directory = ::open(directoryOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (s.directory < 0) {
        fail(errno);
    }
    s.targetName = target.path.filename().string();
    const long nameMax = ::fpathconf(s.directory, _PC_NAME_MAX);
    const std::size_t limit = nameMax > 0 ? static_cast<std::size_t>(nameMax) : NAME_MAX;
    std::string stem =
        shortened(s.targetName, limit > kTemporaryNameBytes ? limit - kTemporaryNameBytes : 1);
    stem.insert(0, 1, '.');
    stem.push_back('.');
    for (int attempt = 0; attempt < 100 && s.fd < 0; ++attempt) {
        const std::string name = stem + randomSuffix();
        s.fd = ::openat(s.directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (s.fd >= 0) {
            s.name = name;
        } else if (errno != EEXIST) {
            fail(errno);
        }
    }
    if (s.fd < 0) {
        fail(EEXIST);
    }
    s.registration = registerTemporary(s.directory, s.name);
    struct stat old {};
    if (target.kind == Target::Kind::Regular &&
        ::fstatat(s.directory, s.targetName.c_str(), &old, 0) == 0) {
        // Owner first: changing it may clear the set-id bits the mode restores.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
            ::fchown(s.fd, old.st_uid, old.st_gid) != 0) {
            // Not permitted to give the file away: keep at least the group.
            [[maybe_unused]] const int ignored = ::fchown(s.fd, static_cast<uid_t>(-1), old.st_gid);
        }
        if (::fchmod(s.fd, old.st_mode & 07777) != 0) {
            fail(errno);
        }
    } else if (::fchmod(s.fd, 0666 & ~currentUmask()) != 0) {
        fail(errno);
    }
}

TemporaryFile::~TemporaryFile() = default;

void TemporaryFile::write(std::string_view bytes) {
    State& s = *state_;
    writeAll(s.fd, bytes);
    if (::fsync(s.fd) != 0) {
        fail(errno);
    }
    const int fd = s.fd;
    s.fd = -1;
    if (::close(fd) != 0) {
        fail(errno);
    }
}

void TemporaryFile::renameOverTarget() {
    State& s = *state_;
    if (::renameat(s.directory, s.name.c_str(), s.directory, s.targetName.c_str()) != 0) {
        fail(errno);
    }
    s.renamed = true;
    unregisterTemporary(s.registration);
    s.registration = -1;
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

void writeDescriptor(int descriptor, std::string_view bytes) {
    writeAll(descriptor, bytes);
    // A regular file or a disk behind the descriptor may refuse only now.
    if (::fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS) {
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
