#include "arrange/player_junk.h"

#include "media/apple_double.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>

namespace tralvo {

namespace {

constexpr std::array<std::string_view, 3> JunkFileNames = {".DS_Store", "Thumbs.db", "desktop.ini"};
constexpr std::array<std::string_view, 4> JunkFolderNames = {".Trashes", ".Spotlight-V100",
                                                             ".fseventsd", ".TemporaryItems"};

// Junk folders are flat or nearly so; the cap only stops a mount looped into itself.
constexpr int MaxDepth = 64;

template <std::size_t N>
bool NameIn(const std::array<std::string_view, N>& names, std::string_view name, bool foldsCase) {
    return std::any_of(names.begin(), names.end(), [&](std::string_view junk) {
        return foldsCase ? EqualsIgnoringCase(name, junk) : name == junk;
    });
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The entry at path as junk would be, the link itself when it is one: a regular file (size
// set) or a real folder; nothing for a link, anything else, or an entry that cannot be read.
enum class Shape { Other, File, Folder };

Shape ShapeOf(const std::string& path, FileSystem& fs, std::uint64_t& size) {
    ContentId id;
    const Status status = fs.ReadContentId(path, id);
    if (status) {
        size = id.size;
        return id.link ? Shape::Other : Shape::File;
    }
    return status.code() == EISDIR ? Shape::Folder : Shape::Other;
}

// What the entry name of folder is as junk: Shape::Other when it is none.
Shape JunkShape(const std::string& folder, const std::string& name, bool foldsCase, FileSystem& fs,
                std::uint64_t& size) {
    const bool fileName = NameIn(JunkFileNames, name, foldsCase);
    const bool companionName = media::HasAppleDoubleName(name);
    const bool folderName = NameIn(JunkFolderNames, name, foldsCase);
    if (!IsPlainName(name) || (!fileName && !companionName && !folderName)) {
        return Shape::Other;
    }
    const std::string path = folder + name;
    const Shape shape = ShapeOf(path, fs, size);
    if (shape == Shape::Folder && folderName) {
        return Shape::Folder;
    }
    if (shape == Shape::File &&
        (fileName || (companionName && media::IsAppleDoubleCompanion(path, fs)))) {
        return Shape::File;
    }
    return Shape::Other;
}

// All files and links below the real folder path, links not followed.
std::uint64_t FolderSize(const std::string& path, FileSystem& fs, int depth) {
    std::vector<DirectoryEntry> entries;
    if (depth > MaxDepth || !fs.Enumerate(path, EnumerateFilter::FilesAndFolders, false, entries)) {
        return 0;
    }
    std::uint64_t total = 0;
    for (const DirectoryEntry& entry : entries) {
        const std::string inner = path + "/" + entry.name;
        std::uint64_t size = 0;
        if (ShapeOf(inner, fs, size) == Shape::Folder) {
            total += FolderSize(inner, fs, depth + 1);
        } else {
            total += size;
        }
    }
    return total;
}

// Removes the real folder path with everything in it, going on past a failure to remove as
// much as it can; the first failure is the result.
Status RemoveTree(const std::string& path, FileSystem& fs, int depth) {
    if (depth > MaxDepth) {
        return Status::Failure(ELOOP, "remove " + path + ": folders nested too deep");
    }
    std::vector<DirectoryEntry> entries;
    if (Status status = fs.Enumerate(path, EnumerateFilter::FilesAndFolders, false, entries);
        !status) {
        return status;
    }
    Status first;
    for (const DirectoryEntry& entry : entries) {
        const std::string inner = path + "/" + entry.name;
        std::uint64_t size = 0;
        // A link to a folder is listed as a folder: it goes as the link it is.
        Status status = ShapeOf(inner, fs, size) == Shape::Folder ? RemoveTree(inner, fs, depth + 1)
                                                                  : fs.RemoveFile(inner);
        if (!status && first) {
            first = std::move(status);
        }
    }
    if (!first) {
        return first;
    }
    return fs.RemoveFolder(path);
}

template <typename Found>
void VisitJunk(const std::string& folder, FileSystem& fs, Found found) {
    const std::string path = FolderWithSlash(folder);
    std::vector<DirectoryEntry> entries;
    if (folder.empty() || !fs.Enumerate(path, EnumerateFilter::FilesAndFolders, false, entries)) {
        return;
    }
    const bool foldsCase = fs.FoldsCase(path);
    for (DirectoryEntry& entry : entries) {
        std::uint64_t size = 0;
        const Shape shape = JunkShape(path, entry.name, foldsCase, fs, size);
        if (shape != Shape::Other && !found(std::move(entry.name), shape == Shape::Folder, size)) {
            return;
        }
    }
}

} // namespace

std::vector<JunkEntry> FindPlayerJunk(const std::string& folder, FileSystem& fs) {
    std::vector<JunkEntry> junk;
    const std::string path = FolderWithSlash(folder);
    VisitJunk(folder, fs, [&](std::string name, bool isFolder, std::uint64_t size) {
        if (isFolder) {
            size = FolderSize(path + name, fs, 1);
        }
        junk.push_back({std::move(name), isFolder, size});
        return true;
    });
    return junk;
}

bool HoldsPlayerJunk(const std::string& folder, FileSystem& fs) {
    bool holds = false;
    VisitJunk(folder, fs, [&](const std::string&, bool, std::uint64_t) {
        holds = true;
        return false;
    });
    return holds;
}

std::uint64_t TotalSize(const std::vector<JunkEntry>& junk) {
    std::uint64_t total = 0;
    for (const JunkEntry& entry : junk) {
        total += entry.size;
    }
    return total;
}

JunkRemoval RemovePlayerJunk(const std::string& folder, const std::vector<JunkEntry>& junk,
                             FileSystem& fs) {
    JunkRemoval result;
    if (folder.empty()) {
        for (const JunkEntry& entry : junk) {
            result.kept.push_back({entry.name, JunkKept::Reason::Changed, {}});
        }
        return result;
    }
    const std::string path = FolderWithSlash(folder);
    const bool foldsCase = fs.FoldsCase(path);
    for (const JunkEntry& entry : junk) {
        if (IsPlainName(entry.name) && !fs.EntryExists(path + entry.name)) {
            result.gone.push_back(entry.name);
            continue;
        }
        std::uint64_t size = 0;
        const Shape shape = JunkShape(path, entry.name, foldsCase, fs, size);
        if (shape != (entry.isFolder ? Shape::Folder : Shape::File)) {
            result.kept.push_back({entry.name, JunkKept::Reason::Changed, {}});
            continue;
        }
        Status status = entry.isFolder ? RemoveTree(path + entry.name, fs, 1)
                                       : fs.RemoveFile(path + entry.name);
        if (status) {
            result.removed.push_back(entry.name);
        } else {
            result.kept.push_back({entry.name, JunkKept::Reason::NotRemoved, std::move(status)});
        }
    }
    return result;
}

} // namespace tralvo
