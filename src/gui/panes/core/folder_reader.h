#pragma once

#include "platform/file_system.h"

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tralvo {

// Asked with the full path of every folder about to become a node (a mount point with its
// trailing '/'); false leaves the folder out.
using FolderFilter = std::function<bool(const std::string& path)>;

using MountPoints = std::unordered_set<std::string>;

struct Subfolder {
    std::string name;
    std::string path; // without a trailing '/'
    bool isMountPoint = false;
    bool mayHaveSubfolders = true;
};

// The subfolders of folder, hidden ones included, files left out, in FolderNameLess order.
// A folder that cannot be listed gives the failure and no subfolders.
Status ReadSubfolders(FileSystem& fs, const std::string& folder, const MountPoints& mountPoints,
                      const FolderFilter& filter, std::vector<Subfolder>& subfolders);

} // namespace tralvo
