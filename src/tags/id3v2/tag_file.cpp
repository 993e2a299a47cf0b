#include "tags/id3v2/tag_file.h"

#include "tags/id3v2/id3v2_tag.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::tags::id3v2 {

namespace {

bool IsHidden(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < fileName.size() && fileName[nameStart] == '.';
}

bool IsReadOnly(const std::string& fileName) {
    return IsHidden(fileName) || ::faccessat(AT_FDCWD, fileName.c_str(), W_OK, AT_EACCESS) != 0;
}

// The nearest thing to a read-only attribute: no write permission for anyone. Taken from
// the status the open already has, since every MP3 of a folder passes here.
bool IsReadOnly(const std::string& fileName, mode_t mode) {
    return IsHidden(fileName) || (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

void TagFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> first,
                     std::span<std::uint8_t> second) {
    for (const std::span<std::uint8_t> piece : {first, second}) {
        if (source_.ReadAt(offset, piece) < piece.size()) {
            throw FileFailure{source_.ReadFailed() ? id3v2_result::IoFailure
                                                   : id3v2_result::ReadFailed};
        }
        offset += piece.size();
    }
}

OpenedTagFile OpenTagFile(const std::string& fileName) {
    OpenedTagFile opened;
    // O_NONBLOCK keeps a named pipe given by mistake from blocking the open; it changes nothing
    // for regular files.
    UniqueFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        if (errno != ENOENT && errno != ENOTDIR) {
            opened.readOnly = IsReadOnly(fileName);
        }
        return opened;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return opened; // a folder or device is not a file that exists
    }
    opened.readOnly = IsReadOnly(fileName, status.st_mode);
    opened.file.emplace(std::move(fd), static_cast<std::uint64_t>(status.st_size));
    return opened;
}

} // namespace tralvo::tags::id3v2
