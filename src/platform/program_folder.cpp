#include "platform/program_folder.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <optional>

#ifndef TRALVO_DATA_FROM_BIN
#error "the build names the installed data folder (TRALVO_DATA_FROM_BIN)"
#endif

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

bool ProgramFolderChosen() {
    return Override().has_value();
}

std::string DataFolder() {
    const std::string folder = ProgramFolder();
    if (ProgramFolderChosen() || SystemFileSystem().FileExists(folder + "Tralvo.lng")) {
        return folder;
    }
    return InstalledFolder(TRALVO_DATA_FROM_BIN);
}

std::string InstalledFolder(const std::string& relativeToProgram) {
    return FolderRelativeTo(ProgramFolder(), relativeToProgram);
}

} // namespace tralvo
