#include "platform/atomic_file.h"

#include "platform/paths.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo {

ssize_t AtomicWriteSteps::Write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int AtomicWriteSteps::Sync(int fd) {
    return ::fsync(fd);
}

int AtomicWriteSteps::RenameReplacing(const char* from, const char* to) {
    return ::rename(from, to);
}

AtomicWriteSteps& SystemAtomicWriteSteps() {
    static AtomicWriteSteps steps;
    return steps;
}

namespace {

// Where the file really is: a link is followed, so the link stays a link.
std::string TargetOf(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

Status WriteFileAtomically(const std::string& path, std::string_view text,
                           AtomicWriteSteps& steps) {
    const auto failure = [&path](int error) {
        return Status::Failure(error,
                               "Cannot write the file " + path + ": " + std::strerror(error));
    };
    const std::string target = TargetOf(path);
    std::string temporary = target + ".XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        return failure(errno);
    }
    // Until the rename succeeds, the temporary file goes again whatever happens.
    struct Remover {
        const std::string* path;
        ~Remover() {
            if (path != nullptr) {
                ::unlink(path->c_str());
            }
        }
    } remover{&temporary};

    ::fchmod(fd.get(), ModeFor(target));
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = steps.Write(fd.get(), text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return failure(written < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(written);
    }
    if (steps.Sync(fd.get()) != 0) {
        return failure(errno);
    }
    if (::close(fd.Release()) != 0) {
        return failure(errno);
    }
    if (steps.RenameReplacing(temporary.c_str(), target.c_str()) != 0) {
        return failure(errno);
    }
    remover.path = nullptr;
    // The new name must reach the disk too. On FAT the entry a file is renamed over takes
    // the file's first cluster and size only when the file's own record is written back,
    // which a sync of the folder alone does not do.
    if (const UniqueFd renamed(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        renamed.valid()) {
        ::fsync(renamed.get());
    }
    const UniqueFd folder(::open(ParentFolder(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) {
        ::fsync(folder.get());
    }
    return Status::Ok();
}

} // namespace tralvo
