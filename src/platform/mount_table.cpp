#include "platform/mount_table.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace tralvo {
namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Fields of a line: id, parent id, major:minor, root, mount point, options, optional
// fields ending in "-", then type, source and super-block options.
bool ParseMountLine(std::string_view line, Volume& mount) {
    const std::vector<std::string_view> fields = SplitNonEmpty(line, ' ');
    constexpr std::size_t mountPointField = 4;
    std::size_t separator = 6; // the first optional field
    while (separator < fields.size() && fields[separator] != "-") {
        ++separator;
    }
    if (separator + 2 >= fields.size()) {
        return false;
    }
    mount.mountPoint = DecodeMountField(fields[mountPointField]);
    mount.fileSystemType = DecodeMountField(fields[separator + 1]);
    mount.source = DecodeMountField(fields[separator + 2]);
    return !mount.mountPoint.empty() && mount.mountPoint.front() == '/';
}

} // namespace

std::string DecodeMountField(std::string_view field) {
    std::string decoded;
    decoded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            decoded.push_back(static_cast<char>(value));
            i += 3;
        } else {
            decoded.push_back(field[i]);
        }
    }
    return decoded;
}

std::vector<Volume> ParseMountInfo(std::string_view text) {
    std::vector<Volume> mounts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        Volume mount;
        if (ParseMountLine(text.substr(start, end - start), mount)) {
            mounts.push_back(std::move(mount));
        }
        start = end + 1;
    }
    return mounts;
}

std::vector<Volume> ReadMountTable() {
    std::ifstream in("/proc/self/mountinfo");
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMountInfo(text.str());
}

std::string MountPointFor(const std::vector<Volume>& mounts, std::string_view path) {
    const Volume* best = nullptr;
    for (const Volume& mount : mounts) {
        if (FolderHoldsPath(mount.mountPoint, path) &&
            (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size())) {
            best = &mount;
        }
    }
    return best == nullptr ? std::string() : best->mountPoint;
}

bool IsUserVolume(const Volume& mount) {
    // The kernel's own interfaces, plus memory-backed (tmpfs, ramfs) and read-only image
    // (squashfs, as snaps mount) file systems: a player is a block device or a FUSE mount,
    // and listing /dev/shm or /run beside it would only bury it. Overlay stays: in a
    // container it is the root volume.
    static constexpr std::array<std::string_view, 25> pseudo = {
        "proc",    "sysfs",  "devtmpfs",    "devpts",     "cgroup", "cgroup2",   "securityfs",
        "pstore",  "bpf",    "debugfs",     "tracefs",    "mqueue", "hugetlbfs", "configfs",
        "fusectl", "autofs", "binfmt_misc", "rpc_pipefs", "nsfs",   "efivarfs",  "selinuxfs",
        "tmpfs",   "ramfs",  "squashfs",    "nfsd",
    };
    return std::find(pseudo.begin(), pseudo.end(), mount.fileSystemType) == pseudo.end();
}

} // namespace tralvo
