#pragma once

#include "platform/status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

class UniqueFd;

enum class EnumerateFilter {
    FilesOnly,
    FilesAndFolders,
};

struct DirectoryEntry {
    std::string name; // bare name, bytes as stored
    bool isFolder = false;
    bool isHidden = false; // dot-files count as hidden
};

struct Volume {
    std::string mountPoint;     // absolute, no trailing '/' except for "/"
    std::string fileSystemType; // "vfat", "ext4", "fuse.fusefat", ...
    std::string source;         // device or source as the mount table gives it
};

// What tells one track's bytes from another's without reading them whole: a file's size and a
// hash of its first and last 64 KiB; for a symbolic link, the text of its target.
struct ContentId {
    bool link = false;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const ContentId&) const = default;
};

// Windows FILETIME scale: 100-nanosecond units since 1 January 1601, UTC.
using FileTime = std::uint64_t;

// The file operations the program needs, as one seam: the real implementation talks to the
// operating system, tests may wrap it to inject failures at chosen calls.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Entries of folder in the order the file system returns them (on FAT the order of the
    // directory entries), never sorted. "." and ".." only when includeDotEntries is set.
    virtual Status Enumerate(const std::string& folder, EnumerateFilter filter,
                             bool includeDotEntries, std::vector<DirectoryEntry>& entries) = 0;

    // Renames or moves within one volume; fails with EEXIST when target exists, never replaces.
    virtual Status Rename(const std::string& from, const std::string& to) = 0;

    virtual Status CreateFolder(const std::string& path) = 0;
    // Fails when the folder is not empty.
    virtual Status RemoveFolder(const std::string& path) = 0;

    virtual bool FileExists(const std::string& path) = 0;   // exists and is not a folder
    virtual bool FolderExists(const std::string& path) = 0; // exists and is a folder
    // Anything at all under that name, a link that leads nowhere included.
    virtual bool EntryExists(const std::string& path) = 0;
    // Whether the folder's volume takes names in any letter case for the same entry.
    virtual bool FoldsCase(const std::string& folder) = 0;

    // The 8.3 form of path where the file system keeps one, else empty.
    virtual std::string ShortPath(const std::string& path) = 0;

    virtual Status ReadCreationTime(const std::string& path, FileTime& time) = 0;
    virtual Status WriteCreationTime(const std::string& path, FileTime time) = 0;
    // Whether WriteCreationTime can work at all. Where it cannot, a file's creation time is
    // the moment it was made, and nothing later changes it.
    virtual bool SetsCreationTimes() = 0;

    // A copy that stands for the file at from: made at to, never replacing anything there,
    // with from's bytes, modification time, permissions and attributes, and on the disk when
    // the call returns. A copy that fails leaves nothing at to.
    virtual Status CopyFile(const std::string& from, const std::string& to) = 0;
    virtual Status RemoveFile(const std::string& path) = 0;
    // Puts the changes made so far to folder's entries, and to the files they name, on the
    // disk.
    virtual Status Flush(const std::string& folder) = 0;
    virtual Status ReadFileSize(const std::string& path, std::uint64_t& size) = 0;
    // Opens path for reading when it is a regular file or a link that ends at one. The open
    // never waits, as one on a named pipe without a writer would: a folder fails with EISDIR,
    // anything else that is no regular file with EINVAL.
    virtual Status OpenForReading(const std::string& path, UniqueFd& fd) = 0;
    // The identity of what path holds; a link is not followed. Fails for a folder and for
    // anything that is not a regular file or a link, without blocking on it.
    virtual Status ReadContentId(const std::string& path, ContentId& id) = 0;
    // What a new file can still take on the volume of path, and the volume's allocation unit.
    virtual Status FreeSpace(const std::string& path, std::uint64_t& bytes,
                             std::uint64_t& unit) = 0;

    virtual std::string ProgramPath() = 0;   // the running executable, absolute
    virtual std::string CurrentFolder() = 0; // absolute, no trailing '/' except for "/"

    // Mount point of the volume that holds path ("drive" of the path); empty if unknown.
    virtual std::string VolumeOf(const std::string& path) = 0;
    // Mounted volumes of real file systems (pseudo file systems such as proc left out).
    virtual std::vector<Volume> Volumes() = 0;
};

// The process's real file system.
FileSystem& SystemFileSystem();

} // namespace tralvo
