#include "support/read_only_folder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::test {

namespace {

bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string path) : path_(std::move(path)) {
    if (::geteuid() == 0) {
        immutable_ = SetImmutable(path_, true);
        active_ = immutable_;
    } else {
        active_ = ::chmod(path_.c_str(), 0555) == 0;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (immutable_) {
        SetImmutable(path_, false);
    } else if (active_) {
        ::chmod(path_.c_str(), 0755);
    }
}

} // namespace tralvo::test
