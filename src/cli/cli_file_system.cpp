#include "cli/cli_file_system.h"

namespace tralvo::cli {

FileSystem& ToolFileSystem() {
    return SystemFileSystem();
}

} // namespace tralvo::cli
