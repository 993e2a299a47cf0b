#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// Paths of the folder tree: absolute, '/'-separated, without a trailing '/' except for "/".
// A volume's path (its mount point) is shown with a trailing '/', as a drive root "E:\" is.

// "/a//b/./c/" gives "/a/b/c"; ".." drops the component before it. Empty unless absolute.
std::string NormalFolderPath(std::string_view path);

// The folder itself when it exists, else its nearest existing ancestor; empty when the path is
// not absolute (such as "E:\") or when not even "/" can be seen.
std::string NearestExistingFolder(FileSystem& fs, std::string_view path);

std::string ChildPath(std::string_view folder, std::string_view name);

// The path by which a mount point is shown and handed to the folder filter.
std::string VolumePath(std::string_view mountPoint);

// The name of the component of path that follows folder; empty when folder does not hold a
// deeper path. Both normal.
std::string_view NextComponent(std::string_view folder, std::string_view path);

// The tree's name order: bytes compared after folding A to Z, ties broken by the bytes
// themselves so that "A" and "a" keep a fixed order.
bool FolderNameLess(std::string_view a, std::string_view b);

} // namespace tralvo
