#include "results/TableFile.h"

#include "results/NewFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <system_error>

namespace velmora {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason) {
    throw std::runtime_error("Cannot write file " + path.string() + ": " + reason);
}

std::string errnoText(int error) {
    return std::generic_category().message(error);
}

// Creates a new file next to the target, with a name no other file has.
std::FILE* createTemporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path;
        temporary += ".tmp" + std::to_string(random() % 1000000000);
        errno = 0;
        if (std::FILE* file = createNewFile(temporary)) {
            return file;
        }
        if (errno != EEXIST) {
            fail(path, errnoText(errno));
        }
    }
    fail(path, "no temporary file name is free");
}

} // namespace

void writeTableFile(const std::filesystem::path& path, std::span<const std::string> lines) {
    std::filesystem::path temporary;
    std::FILE* file = createTemporary(path, temporary);
    bool written = true;
    int error = 0;
    errno = 0;
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
            std::fwrite("\r\n", 1, 2, file) != 2) {
            written = false;
            error = errno;
            break;
        }
    }
    if (written && std::fflush(file) != 0) {
        written = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    std::error_code ignored;
    if (!written) {
        std::filesystem::remove(temporary, ignored);
        fail(path, error != 0 ? errnoText(error) : "the data could not be written");
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        fail(path, renameError.message());
    }
}

} // namespace velmora
