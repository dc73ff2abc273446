#include "results/NewFile.h"

#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace velmora {

namespace {

#ifdef _WIN32
// The wide name, so that a path outside the ANSI code page is found too.
int openNew(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
std::FILE* streamOf(int descriptor) {
    return _fdopen(descriptor, "wb");
}
void closeDescriptor(int descriptor) {
    _close(descriptor);
}
#else
int openNew(const std::filesystem::path& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
std::FILE* streamOf(int descriptor) {
    return fdopen(descriptor, "wb");
}
void closeDescriptor(int descriptor) {
    close(descriptor);
}
#endif

} // namespace

std::FILE* createNewFile(const std::filesystem::path& path) {
    const int descriptor = openNew(path);
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE* file = streamOf(descriptor);
    if (file == nullptr) {
        const int error = errno;
        closeDescriptor(descriptor);
        errno = error;
    }
    return file;
}

} // namespace velmora
