#pragma once

#include "platform/file_system.h"
// FolderHoldsPath, by which mounts are matched to paths.
#include "platform/paths.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// The mounts listed in the text of /proc/self/mountinfo, in the table's order, with the
// octal escapes of mount point and source decoded. Malformed lines are left out.
std::vector<Volume> ParseMountInfo(std::string_view text);

// The mounts of this process; empty when the table cannot be read.
std::vector<Volume> ReadMountTable();

// mountinfo writes blank, tab, newline and backslash in names as "\ooo".
std::string DecodeMountField(std::string_view field);

// Mount point of the mount that holds the absolute, resolved path: the longest one, and of
// mounts stacked on the same point the last mounted, which hides the others. Empty if none.
std::string MountPointFor(const std::vector<Volume>& mounts, std::string_view path);

// Whether a mount can hold a user's files, as opposed to the kernel's pseudo file systems.
bool IsUserVolume(const Volume& mount);

} // namespace tralvo
