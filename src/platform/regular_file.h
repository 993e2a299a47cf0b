#pragma once

#include "platform/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

// Header only, as unique_fd.h: the tag parsers and the decoding module link no platform library.
namespace tralvo {

namespace regular_file_detail {

inline UniqueFd Refused(UniqueFd& fd, int error) {
    fd.Reset();
    errno = error;
    return UniqueFd();
}

} // namespace regular_file_detail

// Opens path, following links, only when it is a regular file: anything else (a folder, a
// named pipe, a socket, a device) gives an invalid descriptor with errno set (EISDIR for a
// folder, EINVAL for the others). The open itself never waits: a named pipe without a writer
// would block it forever, and so may a device. flags are open's (O_RDONLY, ...); O_CLOEXEC and
// O_NOCTTY are added, and the descriptor is non-blocking only when flags ask for it.
inline UniqueFd OpenRegularFile(const std::string& path, int flags) {
    using regular_file_detail::Refused;
    UniqueFd fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) {
        return fd;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return Refused(fd, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused(fd, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    // Some network and FUSE file systems honour the flag on regular files too.
    if ((flags & O_NONBLOCK) == 0) {
        const int status = ::fcntl(fd.get(), F_GETFL);
        if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
            return Refused(fd, errno);
        }
    }
    return fd;
}

// Whether path names a regular file, or a link that ends at one.
inline bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace tralvo
