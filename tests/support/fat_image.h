#pragma once

#include "support/run_process.h"
#include "support/temp_folder.h"

#include <map>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace tralvo::test {

// Why a FAT image cannot be mounted in user space on this machine (no /dev/fuse, no
// fusefat), or empty when it can.
std::string FuseUnavailable();

// Every folder of an image in directory-entry order, by folder ("/", "/Music/Album/").
using EntryOrders = std::map<std::string, std::vector<std::string>>;

// Files by name, in the order they are to be written.
using NamedContents = std::vector<std::pair<std::string, std::string>>;

// A FAT32 image file with the label PLAYER, filled with mtools, mounted in user space with
// fusefat while a test works on it, and read back by programs that look at the image itself:
// fatsort for the directory-entry order, fsck.vfat for consistency, mtools for the files.
//
// fusefat only stands in for a player's FAT driver, and it breaks what it is not trusted
// with: files written through its mount share clusters after later renames, a folder it
// moves arrives empty, and a rename on a full disk drops files. So tests fill the image with
// mtools, keep subfolders out of the folders they arrange, never fill the disk, and leave
// only reading and the program's own renames to the mount. The kernel bench (tests/kernel/)
// covers the rest on the kernel's own driver.
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
    // While unmounted: the next Mount mounts at a new folder beside the first ("mnt1",
    // "mnt2", ...), as a player plugged in again may come back at another path.
    void MoveMountPoint();

    const std::string& image() const { return image_; }
    const std::string& mountPoint() const { return mountPoint_; }
    // The path of name (relative to the image's root) on the mount.
    std::string operator/(std::string_view name) const;

    // Written into the image with mtools, so only while it is not mounted; each fails the
    // test and returns false when mtools did. Paths are relative to the image's root.
    bool MakeFolder(const std::string& folder) const; // its parent must exist
    // Writes the files into folder ("" for the root) in the given order, which becomes their
    // directory-entry order. mtools gives a lower-case name that fits 8.3 no long entry, only
    // a case flag that fusefat ignores, so such names are refused: fusefat would show them in
    // capitals. Names like "Notes.txt", "a b.mp3" or "TRACK.MP3" are fine.
    bool Write(const std::string& folder, const NamedContents& files) const;
    bool Remove(const std::string& path) const;

    // Read from the image, so only while it is not mounted.
    EntryOrders EntryOrder() const;
    ProcessResult Check() const; // fsck.vfat -n: exit code 0 when consistent
    // Copies every file and folder of the image into folder, which must exist.
    ProcessResult CopyOut(const std::string& folder) const;

private:
    // False, failing the test, while mounted: fusefat would not see the change.
    bool Unmounted(std::string_view change) const;

    std::string image_;
    std::string mountPoint_;
    std::string parent_;
    pid_t fusefat_ = -1;
    bool made_ = false;
    bool mounted_ = false;
    int moves_ = 0;
};

} // namespace tralvo::test
