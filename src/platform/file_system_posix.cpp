#include "platform/content_id.h"
#include "platform/dir_stream.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/mount_table.h"
#include "platform/regular_file.h"
#include "platform/rename_no_replace.h"
#include "platform/unique_fd.h"
#include "platform/vfat_short_name.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <system_error>
#include <unistd.h>

namespace tralvo {
namespace {

Status SystemFailure(int code, const std::string& what) {
    return Status::Failure(code, what + ": " + std::generic_category().message(code));
}

struct MallocFree {
    void operator()(char* text) const { std::free(text); }
};

// Symbolic links count as what they point to; a dangling link, like anything that is not a
// folder, counts as a file. FUSE file systems may leave the type unknown.
bool IsFolderEntry(int folderFd, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return false;
    }
    struct stat info {};
    return ::fstatat(folderFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool IsDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

bool StatPath(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info) == 0;
}

// FILETIME counts from 1601-01-01, 11644473600 seconds before the Unix epoch.
FileTime ToFileTime(std::int64_t seconds, std::uint32_t nanoseconds) {
    constexpr std::int64_t epochOffset = 11644473600;
    constexpr std::int64_t unitsPerSecond = 10'000'000;
    if (seconds < -epochOffset) {
        return 0;
    }
    return static_cast<FileTime>((seconds + epochOffset) * unitsPerSecond) + nanoseconds / 100;
}

std::string ParentOf(const std::string& path) {
    const std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) {
        return "/";
    }
    const std::size_t slash = path.rfind('/', end);
    if (slash == std::string::npos || slash == 0) {
        return "/";
    }
    return path.substr(0, path.find_last_not_of('/', slash) + 1);
}

bool OnFatDriver(const std::string& path) {
    struct statfs info {};
    return ::statfs(path.c_str(), &info) == 0 && info.f_type == MSDOS_SUPER_MAGIC;
}

Status SyncVolumeOf(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || ::syncfs(fd.get()) != 0) {
        return SystemFailure(errno, "flush folder " + folder);
    }
    return Status::Ok();
}

// realpath of path or, for a path not yet created, of its nearest existing ancestor.
std::string ResolveNearestExisting(std::string path) {
    for (;;) {
        const std::unique_ptr<char, MallocFree> resolved(::realpath(path.c_str(), nullptr));
        if (resolved) {
            return resolved.get();
        }
        if (path == "/") {
            return {};
        }
        path = ParentOf(path);
    }
}

class PosixFileSystem final : public FileSystem {
public:
    Status Enumerate(const std::string& folder, EnumerateFilter filter, bool includeDotEntries,
                     std::vector<DirectoryEntry>& entries) override;
    Status Rename(const std::string& from, const std::string& to) override {
        Status status = RenameWithoutReplacing(from, to, SystemRenameNoReplace);
        if (status) {
            KeepMovedDataReachable(to);
        }
        return status;
    }
    Status CreateFolder(const std::string& path) override;
    Status RemoveFolder(const std::string& path) override;
    bool FileExists(const std::string& path) override {
        struct stat info {};
        return StatPath(path, info) && !S_ISDIR(info.st_mode);
    }
    bool FolderExists(const std::string& path) override {
        struct stat info {};
        return StatPath(path, info) && S_ISDIR(info.st_mode);
    }
    bool EntryExists(const std::string& path) override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }
    bool FoldsCase(const std::string& folder) override { return FolderFoldsCase(folder); }
    std::string ShortPath(const std::string& path) override;
    Status ReadCreationTime(const std::string& path, FileTime& time) override;
    Status WriteCreationTime(const std::string& path, FileTime time) override;
    bool SetsCreationTimes() override { return false; }
    Status CopyFile(const std::string& from, const std::string& to) override {
        return CopyStandingFile(from, to);
    }
    Status RemoveFile(const std::string& path) override;
    Status Flush(const std::string& folder) override;
    Status ReadFileSize(const std::string& path, std::uint64_t& size) override;
    Status OpenForReading(const std::string& path, UniqueFd& fd) override;
    Status ReadContentId(const std::string& path, ContentId& id) override {
        return ReadContentIdOf(path, id);
    }
    Status FreeSpace(const std::string& path, std::uint64_t& bytes, std::uint64_t& unit) override;
    std::string ProgramPath() override;
    std::string CurrentFolder() override;
    std::string VolumeOf(const std::string& path) override;
    std::vector<Volume> Volumes() override;

private:
    std::string AbsolutePathOf(const std::string& path);
    void KeepMovedDataReachable(const std::string& to);
};

// The kernel's FAT driver writes a moved entry without its data (first cluster and size 0) and
// fills them in only when the file's own record is written back, while the old entry may reach
// the disk deleted before that, whenever the kernel writes the folders back of its own accord:
// a stick pulled out or a power cut in between leaves the file empty and its clusters lost.
// Writing the record at once puts the new entry on the disk whole before the old one can go.
// (A volume sync every few moves costs less but leaves the moves since the last sync open, and
// writes a sync's folder blocks in any order.)
void PosixFileSystem::KeepMovedDataReachable(const std::string& to) {
    if (!OnFatDriver(ParentOf(to))) {
        return;
    }
    const UniqueFd fd(::open(to.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.valid()) {
        // The rename has happened whatever this says; a disk that is gone fails the next step.
        (void)::fsync(fd.get());
    }
}

Status PosixFileSystem::Enumerate(const std::string& folder, EnumerateFilter filter,
                                  bool includeDotEntries, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    const std::string what = "list folder " + folder;
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return SystemFailure(errno, what);
    }
    const DirStream dir(::fdopendir(fd.get()));
    if (!dir) {
        return SystemFailure(errno, what);
    }
    fd.Release(); // the stream owns it now
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (IsDotEntry(name) && !includeDotEntries) {
            continue;
        }
        const bool isFolder = IsFolderEntry(::dirfd(dir.get()), *entry);
        if (isFolder && filter == EnumerateFilter::FilesOnly) {
            continue;
        }
        entries.push_back({std::string(name), isFolder, name.front() == '.' && !IsDotEntry(name)});
    }
    if (errno != 0) {
        const int error = errno;
        entries.clear();
        return SystemFailure(error, what);
    }
    return Status::Ok();
}

Status PosixFileSystem::CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0) {
        return SystemFailure(errno, "create folder " + path);
    }
    return Status::Ok();
}

Status PosixFileSystem::RemoveFolder(const std::string& path) {
    if (::rmdir(path.c_str()) != 0) {
        return SystemFailure(errno, "remove folder " + path);
    }
    return Status::Ok();
}

std::string PosixFileSystem::ShortPath(const std::string& path) {
    const std::string absolute = AbsolutePathOf(path);
    return absolute.empty() ? std::string() : VfatShortPath(absolute);
}

Status PosixFileSystem::ReadCreationTime(const std::string& path, FileTime& time) {
    const std::string what = "read creation time of " + path;
    struct statx info {};
    // A link's own entry was made when the link was: it is what a run makes anew.
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &info) != 0) {
        return SystemFailure(errno, what);
    }
    // Some file systems (tmpfs before Linux 5.18, most FUSE ones) record no birth time; the
    // modification time would silently order the files wrongly.
    if ((info.stx_mask & STATX_BTIME) == 0) {
        return Status::Failure(ENODATA, what + ": the file system keeps no creation time");
    }
    time = ToFileTime(info.stx_btime.tv_sec, info.stx_btime.tv_nsec);
    return Status::Ok();
}

Status PosixFileSystem::WriteCreationTime(const std::string& path, FileTime /*time*/) {
    const std::string what = "set creation time of " + path;
    struct stat info {};
    if (!StatPath(path, info)) {
        return SystemFailure(errno, what);
    }
    return Status::Failure(ENOTSUP, what + ": this system cannot set a file's creation time");
}

Status PosixFileSystem::RemoveFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return SystemFailure(EISDIR, "remove " + path);
    }
    if (::unlink(path.c_str()) != 0) {
        return SystemFailure(errno, "remove " + path);
    }
    return Status::Ok();
}

Status PosixFileSystem::Flush(const std::string& folder) {
    // The whole volume, not the folder alone: on FAT a file moved into a folder keeps its size
    // and first cluster in its own record until that is written back, and a synced folder
    // would then hold the entry of an empty file.
    return SyncVolumeOf(folder);
}

Status PosixFileSystem::ReadFileSize(const std::string& path, std::uint64_t& size) {
    struct stat info {};
    if (!StatPath(path, info)) {
        return SystemFailure(errno, "size of " + path);
    }
    if (S_ISDIR(info.st_mode)) {
        return SystemFailure(EISDIR, "size of " + path);
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return Status::Ok();
}

Status PosixFileSystem::OpenForReading(const std::string& path, UniqueFd& fd) {
    fd = OpenRegularFile(path, O_RDONLY);
    return fd.valid() ? Status::Ok() : SystemFailure(errno, "open " + path);
}

Status PosixFileSystem::FreeSpace(const std::string& path, std::uint64_t& bytes,
                                  std::uint64_t& unit) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) {
        return SystemFailure(errno, "free space of " + path);
    }
    unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    bytes = static_cast<std::uint64_t>(info.f_bavail) * unit;
    return Status::Ok();
}

std::string PosixFileSystem::ProgramPath() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string PosixFileSystem::CurrentFolder() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A relative path counts only if it exists: "E:\" is a relative name here, and must not
// turn into a folder of the current volume.
std::string PosixFileSystem::AbsolutePathOf(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    if (path.front() == '/') {
        return path;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return {};
    }
    const std::string current = CurrentFolder();
    if (current.empty()) {
        return {};
    }
    return current == "/" ? "/" + path : current + "/" + path;
}

std::string PosixFileSystem::VolumeOf(const std::string& path) {
    const std::string absolute = AbsolutePathOf(path);
    if (absolute.empty()) {
        return {};
    }
    const std::string resolved = ResolveNearestExisting(absolute);
    return resolved.empty() ? std::string() : MountPointFor(ReadMountTable(), resolved);
}

std::vector<Volume> PosixFileSystem::Volumes() {
    const std::vector<Volume> mounts = ReadMountTable();
    // Of mounts stacked on one point only the last is visible.
    std::map<std::string, Volume> visible;
    for (auto mount = mounts.rbegin(); mount != mounts.rend(); ++mount) {
        visible.try_emplace(mount->mountPoint, *mount);
    }
    std::vector<Volume> volumes;
    for (auto& [mountPoint, mount] : visible) {
        if (IsUserVolume(mount)) {
            volumes.push_back(std::move(mount));
        }
    }
    return volumes;
}

} // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

} // namespace tralvo
