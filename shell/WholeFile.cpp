#include "shell/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {
constexpr const char* temporarySuffix = ".new";  // beside the file, so the rename stays on one disk

// Writes every byte, going on after a short write; false with errno set on failure.
bool writeAll(int fd, const std::string& contents) {
    const char* next = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        next += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

bool fail(const std::string& path, const char* what, int error) {
    std::cerr << "Could not " << what << " " << path << ": " << std::strerror(error)
              << "; the old file is kept" << std::endl;
    return false;
}
}  // namespace

bool writeWholeFile(const std::string& path, const std::string& contents) {
    const std::string temporary = path + temporarySuffix;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail(path, "write", errno);
    // fsync before the rename: otherwise a crash can leave the new name on an empty file.
    if (!writeAll(fd, contents) || fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        unlink(temporary.c_str());
        return fail(path, "write", error);
    }
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return fail(path, "write", error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return fail(path, "replace", error);
    }
    return true;
}
