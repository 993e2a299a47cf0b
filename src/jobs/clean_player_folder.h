#pragma once

#include "jobs/messages.h"
#include "platform/file_system.h"

#include <string>

namespace tralvo::jobs {

// The player pane's clean command: the junk of folder (FindPlayerJunk) shown in one question,
// names and total size; on Yes removed for good, each entry that stays an error box with the
// reason. A folder without junk says so. Answers whether anything was removed.
bool CleanPlayerFolder(const std::string& folder, FileSystem& fs, Messages& messages,
                       const std::string& parent);

// The status line's note on a folder just loaded: the catalogue's text when it holds junk,
// else empty.
std::string JunkNote(const std::string& folder, FileSystem& fs);

} // namespace tralvo::jobs
