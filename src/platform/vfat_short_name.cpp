#include "platform/vfat_short_name.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <vector>

namespace tralvo {
namespace {

enum class Lookup { NotFat, Found, Failed };

std::string_view NameOf(const __fat_dirent& entry) {
    return {entry.d_name, ::strnlen(entry.d_name, sizeof entry.d_name)};
}

// Reads the entries of folder through the vfat driver, which hands out the short name with
// the long one, and finds the entry called name.
Lookup FindShortName(const std::string& folder, std::string_view name, std::string& shortName) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return Lookup::Failed;
    }
    struct statfs info {};
    // The ioctl number is only meaningful to the FAT driver; never send it elsewhere.
    if (::fstatfs(fd.get(), &info) != 0 || info.f_type != MSDOS_SUPER_MAGIC) {
        return Lookup::NotFat;
    }
    for (;;) {
        __fat_dirent entries[2] = {};
        // 1 for an entry, 0 at the end of the folder, -1 on error.
        if (::ioctl(fd.get(), VFAT_IOCTL_READDIR_BOTH, entries) <= 0) {
            return Lookup::Failed;
        }
        const std::string_view shortForm = NameOf(entries[0]);
        const std::string_view longForm = NameOf(entries[1]); // empty for an 8.3-only entry
        // FAT looks names up without regard to case, so the path may spell them either way.
        if (EqualsIgnoringCase(longForm, name) || EqualsIgnoringCase(shortForm, name)) {
            shortName = shortForm;
            return Lookup::Found;
        }
    }
}

} // namespace

std::string VfatShortPath(const std::string& absolutePath) {
    // Most paths are not on FAT; one call settles that before any folder is read.
    struct statfs info {};
    if (::statfs(absolutePath.c_str(), &info) != 0 || info.f_type != MSDOS_SUPER_MAGIC) {
        return {};
    }
    std::string folder = "/";
    std::string shortPath;
    bool lastOnFat = false;
    for (const std::string_view piece : SplitNonEmpty(absolutePath, '/')) {
        const std::string component(piece);
        std::string shortName;
        lastOnFat = false;
        if (component != "." && component != "..") {
            const Lookup lookup = FindShortName(folder, component, shortName);
            if (lookup == Lookup::Failed) {
                return {};
            }
            lastOnFat = lookup == Lookup::Found;
        }
        shortPath += "/" + (lastOnFat ? shortName : component);
        folder = FolderWithSlash(std::move(folder)) + component;
    }
    return lastOnFat ? shortPath : std::string();
}

} // namespace tralvo
