#include "gui/panes/core/folder_reader.h"

#include "gui/panes/core/folder_path.h"
#include "gui/panes/core/subfolder_hint.h"

#include <algorithm>

namespace tralvo {

Status ReadSubfolders(FileSystem& fs, const std::string& folder, const MountPoints& mountPoints,
                      const FolderFilter& filter, std::vector<Subfolder>& subfolders) {
    subfolders.clear();
    std::vector<DirectoryEntry> entries;
    Status status = fs.Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries);
    if (!status) {
        return status;
    }
    const SubfolderHint hint(folder);
    for (DirectoryEntry& entry : entries) {
        if (!entry.isFolder) {
            continue;
        }
        Subfolder subfolder;
        subfolder.path = ChildPath(folder, entry.name);
        subfolder.isMountPoint = mountPoints.contains(subfolder.path);
        if (filter &&
            !filter(subfolder.isMountPoint ? VolumePath(subfolder.path) : subfolder.path)) {
            continue;
        }
        subfolder.mayHaveSubfolders = subfolder.isMountPoint || hint.MayHaveSubfolders(entry.name);
        subfolder.name = std::move(entry.name);
        subfolders.push_back(std::move(subfolder));
    }
    std::sort(subfolders.begin(), subfolders.end(), [](const Subfolder& a, const Subfolder& b) {
        return FolderNameLess(a.name, b.name);
    });
    return Status::Ok();
}

} // namespace tralvo
