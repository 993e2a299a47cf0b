#include "platform/volume_identity.h"

#include "platform/dir_stream.h"
#include "platform/mount_table.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tralvo {

namespace {

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::string SerialText(std::uint32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X-%04X", serial >> 16, serial & 0xFFFF);
    return text;
}

// The boot sector of a device or an image file, read without waiting on anything else.
std::string ReadBootSector(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 ||
        !(S_ISREG(info.st_mode) || S_ISBLK(info.st_mode))) {
        return {};
    }
    std::string sector(512, '\0');
    const ssize_t got = ::pread(fd.get(), sector.data(), sector.size(), 0);
    return got == 512 ? sector : std::string();
}

std::string ResolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string text = resolved;
    std::free(resolved);
    return text;
}

// The boot sector of the image a FUSE server mounted at mountPoint, from the servers' command
// lines: the argument that names a FAT or exFAT image.
std::string BootSectorOfFuseImage(const std::string& mountPoint) {
    const DirStream proc(::opendir("/proc"));
    if (!proc) {
        return {};
    }
    while (const dirent* entry = ::readdir(proc.get())) {
        if (std::strspn(entry->d_name, "0123456789") != std::strlen(entry->d_name)) {
            continue;
        }
        const std::string base = std::string("/proc/") + entry->d_name;
        const UniqueFd fd(::open((base + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd.valid()) {
            continue;
        }
        std::string line(8192, '\0');
        const ssize_t got = ::read(fd.get(), line.data(), line.size());
        if (got <= 0) {
            continue;
        }
        line.resize(static_cast<std::size_t>(got));
        std::vector<std::string> args;
        for (std::size_t start = 0; start < line.size();) {
            const std::size_t end = std::min(line.find('\0', start), line.size());
            args.push_back(line.substr(start, end - start));
            start = end + 1;
        }
        // Relative arguments are taken from the server's own folder.
        const std::string cwd = ResolvedPath(base + "/cwd");
        std::vector<std::string> paths;
        bool mountsHere = false;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i].empty() || args[i].front() == '-') {
                continue;
            }
            const std::string path =
                ResolvedPath(args[i].front() == '/' ? args[i] : cwd + "/" + args[i]);
            if (path == mountPoint) {
                mountsHere = true;
            } else if (!path.empty()) {
                paths.push_back(path);
            }
        }
        for (const std::string& path : mountsHere ? paths : std::vector<std::string>{}) {
            if (std::string sector = ReadBootSector(path); !SerialOfBootSector(sector).empty()) {
                return sector;
            }
        }
    }
    return {};
}

// The UUID udev gives the block device of the volume, from its links.
std::string UuidOfDevice(dev_t device) {
    const std::string folder = "/dev/disk/by-uuid";
    const DirStream dir(::opendir(folder.c_str()));
    if (!dir) {
        return {};
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        struct stat info {};
        if (entry->d_name[0] != '.' && ::stat((folder + "/" + entry->d_name).c_str(), &info) == 0 &&
            S_ISBLK(info.st_mode) && info.st_rdev == device) {
            return entry->d_name;
        }
    }
    return {};
}

// Where the extended boot record of a FAT boot sector (its signature 0x29, then serial number
// and label) starts: further back in FAT32 than in FAT12 and FAT16; 0 for none.
std::size_t ExtendedBootSignature(std::string_view sector) {
    const bool fat32 = sector[0x16] == 0 && sector[0x17] == 0;
    const std::size_t signature = fat32 ? 0x42 : 0x26;
    return static_cast<unsigned char>(sector[signature]) == 0x29 ? signature : 0;
}

std::string SerialFromFatDriver(const std::string& mountPoint) {
    const UniqueFd fd(::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::uint32_t serial = 0;
    if (fd.valid() && ::ioctl(fd.get(), FAT_IOCTL_GET_VOLUME_ID, &serial) == 0) {
        return SerialText(serial);
    }
    return {};
}

} // namespace

std::string SerialOfBootSector(std::string_view sector) {
    if (sector.size() < 512 || static_cast<unsigned char>(sector[510]) != 0x55 ||
        static_cast<unsigned char>(sector[511]) != 0xAA) {
        return {};
    }
    if (sector.substr(3, 8) == "EXFAT   ") {
        return SerialText(Little32(sector, 100));
    }
    const std::size_t signature = ExtendedBootSignature(sector);
    if (signature == 0) {
        return {};
    }
    const std::uint32_t serial = Little32(sector, signature + 1);
    return serial == 0 ? std::string() : SerialText(serial);
}

std::string LabelOfBootSector(std::string_view sector) {
    if (SerialOfBootSector(sector).empty() || sector.substr(3, 8) == "EXFAT   ") {
        return {};
    }
    // Eleven bytes after the serial number, padded with blanks.
    std::string label(sector.substr(ExtendedBootSignature(sector) + 5, 11));
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) {
        label.pop_back();
    }
    const bool printable = std::all_of(label.begin(), label.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    });
    return label == "NO NAME" || !printable ? std::string() : label;
}

std::optional<VolumeIdentity> IdentifyVolume(const std::string& path) {
    const std::string resolved = ResolvedPath(path);
    struct stat info {};
    if (resolved.empty() || ::stat(resolved.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const std::vector<Volume> mounts = ReadMountTable();
    const std::string root = MountPointFor(mounts, resolved);
    if (root.empty()) {
        return std::nullopt;
    }
    const Volume* mount = nullptr;
    for (const Volume& candidate : mounts) {
        if (candidate.mountPoint == root) {
            mount = &candidate; // the last one mounted there is the one seen
        }
    }
    std::string id = UuidOfDevice(info.st_dev);
    std::string sector;
    if (id.empty() && mount != nullptr && !mount->source.empty() && mount->source[0] == '/') {
        sector = ReadBootSector(mount->source);
    }
    if (id.empty() && SerialOfBootSector(sector).empty() && mount != nullptr &&
        mount->fileSystemType.starts_with("fuse")) {
        sector = BootSectorOfFuseImage(root);
    }
    std::string label;
    if (id.empty()) {
        id = SerialOfBootSector(sector);
        label = LabelOfBootSector(sector);
    }
    if (id.empty()) {
        id = SerialFromFatDriver(root);
    }
    if (id.empty()) {
        return std::nullopt;
    }
    return VolumeIdentity{id, root, resolved, label};
}

} // namespace tralvo
