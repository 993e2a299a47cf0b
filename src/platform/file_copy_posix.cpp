#include "platform/file_copy.h"
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tralvo {
namespace {

// Large enough to copy at the disk's pace, small enough that cancelling answers at once.
constexpr std::size_t ChunkSize = 256 * 1024;

Status SystemFailure(int code, const std::string& what) {
    return Status::Failure(code, what + ": " + std::generic_category().message(code));
}

// The copy under construction, removed again unless it was finished. A new file is written
// under its own name, so that on a FAT player its directory entry lands where a plain copy
// would put it; a replacement goes to a temporary name beside its target first.
class PartialCopy {
public:
    PartialCopy(const std::string& target, bool replace) {
        if (replace) {
            std::string pattern = ParentFolder(target) + "/.tralvo-copy-XXXXXX";
            fd_.Reset(::mkostemp(pattern.data(), O_CLOEXEC));
            path_ = pattern;
        } else {
            fd_.Reset(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            path_ = target;
        }
        if (!fd_.valid()) {
            path_.clear();
        }
    }
    ~PartialCopy() {
        fd_.Reset();
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    PartialCopy(const PartialCopy&) = delete;
    PartialCopy& operator=(const PartialCopy&) = delete;

    bool valid() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Closes the file; a file system may report a failed write only here.
    bool Close() { return ::close(fd_.Release()) == 0; }
    void Keep() { path_.clear(); }

private:
    UniqueFd fd_;
    std::string path_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The hidden, system and archive bits of a file on FAT; elsewhere the calls fail, which is
// fine.
void KeepFatAttributes(int from, int to) {
    std::uint32_t attributes = 0;
    if (::ioctl(from, FAT_IOCTL_GET_ATTRIBUTES, &attributes) == 0) {
        ::ioctl(to, FAT_IOCTL_SET_ATTRIBUTES, &attributes);
    }
}

enum class CopyKind {
    AsNewFile, // permissions as a new file of the source's would get
    Standing,  // the very permissions and attributes of the source
};

Status CopyBytes(const std::string& source, const std::string& target, bool replace,
                 const CopyProgress& progress, CopyKind kind) {
    // Only a regular file has bytes to copy; a named pipe would block the open forever.
    const UniqueFd in = OpenRegularFile(source, O_RDONLY);
    if (!in.valid()) {
        return SystemFailure(errno, "open " + source);
    }
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) {
        return SystemFailure(errno, "stat " + source);
    }

    PartialCopy copy(target, replace);
    if (!copy.valid()) {
        return SystemFailure(errno, "create " + (replace ? "a file beside " + target : target));
    }
    // A FAT volume refuses some permissions, which is fine there.
    if (kind == CopyKind::Standing) {
        ::fchmod(copy.fd(), info.st_mode & 07777);
        KeepFatAttributes(in.get(), copy.fd());
    } else {
        ::fchmod(copy.fd(), (info.st_mode & 0777) & ~CurrentUmask());
    }

    std::vector<char> buffer(ChunkSize);
    std::uint64_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemFailure(errno, "read " + source);
        }
        if (got == 0) {
            break;
        }
        if (!WriteAll(copy.fd(), buffer.data(), static_cast<std::size_t>(got))) {
            return SystemFailure(errno, "write " + target);
        }
        copied += static_cast<std::uint64_t>(got);
        if (progress && !progress(copied)) {
            return Status::Failure(CopyCancelledCode, "copy " + source + ": cancelled");
        }
    }

    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ::futimens(copy.fd(), times);
    // A player is often unplugged right after a copy: the bytes are on it before the copy
    // counts as done.
    if (::fsync(copy.fd()) != 0 && errno != EINVAL && errno != EROFS && errno != ENOSYS &&
        errno != ENOTSUP) {
        return SystemFailure(errno, "write " + target);
    }
    if (!copy.Close()) {
        return SystemFailure(errno, "write " + target);
    }
    if (replace && ::rename(copy.path().c_str(), target.c_str()) != 0) {
        return SystemFailure(errno, "rename " + copy.path() + " -> " + target);
    }
    copy.Keep();
    return Status::Ok();
}

} // namespace

Status CopyFileInChunks(const std::string& source, const std::string& target, bool replace,
                        const CopyProgress& progress) {
    return CopyBytes(source, target, replace, progress, CopyKind::AsNewFile);
}

Status CopyStandingFile(const std::string& source, const std::string& target) {
    // A link stands for its file as a link: its copy is a new link to the same target.
    struct stat info {};
    if (::lstat(source.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(source.c_str(), link.data(), link.size());
        if (length < 0) {
            return SystemFailure(errno, "read link " + source);
        }
        link.resize(static_cast<std::size_t>(length));
        if (::symlink(link.c_str(), target.c_str()) != 0) {
            return SystemFailure(errno, "create link " + target);
        }
        return Status::Ok();
    }
    return CopyBytes(source, target, false, {}, CopyKind::Standing);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::uint64_t FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace tralvo
