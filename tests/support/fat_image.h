#pragma once

#include "support/run_process.h"
#include "support/temp_folder.h"

#include <map>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace tralvo::test {

// Why a FAT image cannot be mounted in user space on this machine (no /dev/fuse, no
// fusefat), or empty when it can.
std::string FuseUnavailable();

// Every folder of an image in directory-entry order, by folder ("/", "/Music/Album/").
using EntryOrders = std::map<std::string, std::vector<std::string>>;

// A FAT32 image file with the label PLAYER, mounted in user space with fusefat while a test
// works on it, and read back by programs that look at the image itself: fatsort for the
// directory-entry order, fsck.vfat for consistency, mtools for the files.
class FatImage {
public:
    // The image and its mount point lie in temp. FAT32 below 33 MB is refused by fatsort.
    explicit FatImage(const TempFolder& temp, int megabytes = 64);
    ~FatImage();
    FatImage(const FatImage&) = delete;
    FatImage& operator=(const FatImage&) = delete;

    bool made() const { return made_; }
    // Starts fusefat and waits until the mount is there; false when it did not come.
    bool Mount();
    // fusefat writes the last changes after fusermount returns: this waits for it to end.
    // False when it had to be stopped, which may leave the image dirty.
    bool Unmount();
    bool mounted() const { return mounted_; }

    const std::string& image() const { return image_; }
    const std::string& mountPoint() const { return mountPoint_; }
    // The path of name (relative to the image's root) on the mount.
    std::string operator/(std::string_view name) const;

    // Read from the image, so only while it is not mounted.
    EntryOrders EntryOrder() const;
    ProcessResult Check() const; // fsck.vfat -n: exit code 0 when consistent
    // Copies every file and folder of the image into folder, which must exist.
    ProcessResult CopyOut(const std::string& folder) const;

private:
    std::string image_;
    std::string mountPoint_;
    std::string parent_;
    pid_t fusefat_ = -1;
    bool made_ = false;
    bool mounted_ = false;
};

} // namespace tralvo::test
