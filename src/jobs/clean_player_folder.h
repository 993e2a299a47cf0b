#pragma once

#include "jobs/messages.h"
#include "platform/file_system.h"

#include <cstdint>
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

// The junk's total size as the question gives it: whole kilobytes, rounded up.
std::uint64_t KilobytesOf(std::uint64_t bytes);

} // namespace tralvo::jobs
