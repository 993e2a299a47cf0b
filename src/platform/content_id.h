#pragma once

#include "platform/file_system.h"

#include <string>

namespace tralvo {

// The ContentId of the entry at path, as FileSystem::ReadContentId gives it.
Status ReadContentIdOf(const std::string& path, ContentId& id);

// Whether the volume of folder folds letter case, tried on an entry with letters in its name;
// without one, whether the folder itself can be reached under its name in another case.
bool FolderFoldsCase(const std::string& folder);

} // namespace tralvo
