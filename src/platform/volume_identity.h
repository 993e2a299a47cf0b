#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tralvo {

// What names a volume wherever it is mounted: the file system's UUID as udev gives it, which
// for FAT and exFAT is the volume serial number written "XXXX-XXXX".
struct VolumeIdentity {
    std::string id;
    std::string root; // the mount point, no trailing '/' except for "/"
    std::string path; // the path asked about, resolved: root and what lies below it
    // The label of a FAT boot sector the identity was read from, where udev lists no volume;
    // empty otherwise.
    std::string label;
};

// The serial number of a FAT12/16/32 or exFAT boot sector, "XXXX-XXXX"; empty when the bytes
// are no such boot sector or carry no serial number.
std::string SerialOfBootSector(std::string_view sector);
// The volume label a FAT12/16/32 boot sector carries, without its padding; empty for "NO NAME",
// for an exFAT boot sector (whose label lives in its root folder) and for other bytes.
std::string LabelOfBootSector(std::string_view sector);

// The identity of the volume that holds path (absolute), found without privileges where udev
// lists the volume, else from the boot sector of the device or of the image a FUSE server
// mounted, else from the FAT driver; nothing when no lasting identity is found.
std::optional<VolumeIdentity> IdentifyVolume(const std::string& path);

} // namespace tralvo
