#pragma once

#include "platform/file_system.h"

namespace tralvo::cli {

// The file system the tool's commands work on: the process's real one. A test build links
// its own definition instead, one that can stop the process at a chosen change.
FileSystem& ToolFileSystem();

} // namespace tralvo::cli
