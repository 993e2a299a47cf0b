#include "app/program_folder.h"

#include "platform/file_system.h"

#include <optional>

namespace tralvo {

namespace {

std::optional<std::string>& Override() {
    static std::optional<std::string> folder;
    return folder;
}

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

std::string ProgramFolder() {
    if (Override()) {
        return *Override();
    }
    const std::string program = SystemFileSystem().ProgramPath();
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string("./") : program.substr(0, slash + 1);
}

void SetProgramFolder(std::string folder) {
    Override() = WithTrailingSlash(std::move(folder));
}

} // namespace tralvo
