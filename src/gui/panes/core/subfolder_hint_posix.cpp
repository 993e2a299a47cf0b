#include "gui/panes/core/subfolder_hint.h"

#include <array>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace tralvo {
namespace {

// File systems whose folders have 2 links plus one per subfolder. Btrfs, overlay and FUSE
// file systems (fusefat gives every folder one link) do not count, so their folders are
// assumed to have subfolders.
bool CountsSubfolderLinks(int folderFd) {
    struct statfs info {};
    if (::fstatfs(folderFd, &info) != 0) {
        return false;
    }
    static constexpr std::array<std::uint64_t, 5> counting = {
        EXT4_SUPER_MAGIC, // also ext2 and ext3
        TMPFS_MAGIC,       XFS_SUPER_MAGIC,
        MSDOS_SUPER_MAGIC, // the kernel's vfat
        F2FS_SUPER_MAGIC,
    };
    const auto type = static_cast<std::uint64_t>(info.f_type);
    for (const std::uint64_t magic : counting) {
        if (type == magic) {
            return true;
        }
    }
    return false;
}

} // namespace

SubfolderHint::SubfolderHint(const std::string& folder)
    : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    struct stat info {};
    if (folder_.valid() && ::fstat(folder_.get(), &info) == 0) {
        device_ = static_cast<std::uint64_t>(info.st_dev);
        countsSubfolderLinks_ = CountsSubfolderLinks(folder_.get());
    }
}

bool SubfolderHint::MayHaveSubfolders(const std::string& name) const {
    if (!countsSubfolderLinks_) {
        return true;
    }
    struct stat info {};
    if (::fstatat(folder_.get(), name.c_str(), &info, 0) != 0) {
        return true;
    }
    // Another volume mounted here, or ext4's count of 1 once a folder outgrows its link count.
    if (static_cast<std::uint64_t>(info.st_dev) != device_ || info.st_nlink != 2) {
        return true;
    }
    return false;
}

} // namespace tralvo
