#include "platform/program_folder.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <optional>

namespace tralvo {

namespace {

std::optional<std::string>& Override() {
    static std::optional<std::string> folder;
    return folder;
}

} // namespace

std::string ProgramFolder() {
    if (Override()) {
        return *Override();
    }
    return FolderWithSlash(ParentFolder(SystemFileSystem().ProgramPath()));
}

void SetProgramFolder(std::string folder) {
    Override() = FolderWithSlash(std::move(folder));
}

} // namespace tralvo
