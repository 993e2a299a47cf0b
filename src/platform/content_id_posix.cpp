#include "platform/content_id.h"
#include "platform/dir_stream.h"
#include "platform/fnv.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tralvo {

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

Status SystemFailure(int code, const std::string& what) {
    return Status::Failure(code, what + ": " + std::generic_category().message(code));
}

bool ReadFully(int fd, char* buffer, std::size_t count, off_t offset) {
    while (count > 0) {
        const ssize_t got = ::pread(fd, buffer, count, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            if (got == 0) {
                errno = EIO; // shorter than its size said
            }
            return false;
        }
        buffer += got;
        count -= static_cast<std::size_t>(got);
        offset += got;
    }
    return true;
}

std::string SwappedCase(const std::string& name) {
    std::string swapped = name;
    for (char& c : swapped) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::islower(u) ? std::toupper(u) : std::tolower(u));
    }
    return swapped;
}

bool HasLetter(const std::string& name) {
    for (const char c : name) {
        if (std::isalpha(static_cast<unsigned char>(c)) && (c & 0x80) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

Status ReadContentIdOf(const std::string& path, ContentId& id) {
    const std::string what = "identify " + path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return SystemFailure(errno, what);
    }
    if (S_ISLNK(info.st_mode)) {
        std::vector<char> target(static_cast<std::size_t>(info.st_size) + 256);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return SystemFailure(errno, what);
        }
        id = {true, static_cast<std::uint64_t>(length),
              Fnv1a64({target.data(), static_cast<std::size_t>(length)})};
        return Status::Ok();
    }
    if (!S_ISREG(info.st_mode)) {
        return SystemFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, what);
    }
    // Never blocks, should the entry have turned into a pipe since.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat opened {};
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0) {
        return SystemFailure(errno, what);
    }
    if (!S_ISREG(opened.st_mode)) {
        return SystemFailure(EINVAL, what);
    }
    const auto size = static_cast<std::uint64_t>(opened.st_size);
    std::vector<char> buffer(BlockSize);
    std::uint64_t hash = Fnv1a64Start;
    const std::size_t head = static_cast<std::size_t>(std::min<std::uint64_t>(size, BlockSize));
    if (!ReadFully(fd.get(), buffer.data(), head, 0)) {
        return SystemFailure(errno, what);
    }
    hash = Fnv1a64({buffer.data(), head}, hash);
    if (size > BlockSize) {
        const std::size_t tail =
            static_cast<std::size_t>(std::min<std::uint64_t>(size - BlockSize, BlockSize));
        if (!ReadFully(fd.get(), buffer.data(), tail, static_cast<off_t>(size - tail))) {
            return SystemFailure(errno, what);
        }
        hash = Fnv1a64({buffer.data(), tail}, hash);
    }
    id = {false, size, hash};
    return Status::Ok();
}

namespace {

// The names of the folder at fd, as listed.
std::vector<std::string> NamesIn(int fd) {
    std::vector<std::string> names;
    const int listed = ::dup(fd);
    const DirStream dir(listed >= 0 ? ::fdopendir(listed) : nullptr);
    if (!dir && listed >= 0) {
        ::close(listed);
    }
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        names.emplace_back(entry->d_name);
    }
    return names;
}

// Whether the folder at fd finds its entry name under the name in the other letter case
// too, which is not an entry of its own. Not by inode: FUSE file systems may give each
// spelling a number of its own.
bool FindsInOtherCase(int fd, const std::string& name, const std::vector<std::string>& names) {
    const std::string swapped = SwappedCase(name);
    struct stat info {};
    return ::fstatat(fd, swapped.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           std::find(names.begin(), names.end(), swapped) == names.end();
}

} // namespace

bool FolderFoldsCase(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return false;
    }
    const std::vector<std::string> names = NamesIn(fd.get());
    for (const std::string& name : names) {
        if (HasLetter(name) && name != "." && name != "..") {
            return FindsInOtherCase(fd.get(), name, names);
        }
    }
    // An empty folder: its own name, looked up in its parent, decides.
    const std::string trimmed = folder.substr(0, folder.find_last_not_of('/') + 1);
    const std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos || !HasLetter(trimmed.substr(slash + 1))) {
        return false;
    }
    const UniqueFd parent(::open(slash == 0 ? "/" : trimmed.substr(0, slash).c_str(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return parent.valid() &&
           FindsInOtherCase(parent.get(), trimmed.substr(slash + 1), NamesIn(parent.get()));
}

} // namespace tralvo
