#include "platform/drives.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace tralvo {
namespace {

// An unknown volume gives an empty root, which does not exist, so the caller's drive check
// asks the user instead of pointing the player at some other folder.
std::string RootOf(const std::string& folder) {
    return folder.empty() ? folder : FolderWithSlash(WithoutTrailingSlashes(folder));
}

} // namespace

std::string PlayerRootFor(const std::string& playerDrive, FileSystem& fs) {
    if (playerDrive.size() == 1 && playerDrive[0] >= 'A' && playerDrive[0] <= 'Z') {
        return playerDrive + ":\\";
    }
    if (playerDrive == "?") {
        return RootOf(fs.VolumeOf(fs.CurrentFolder()));
    }
    if (playerDrive == "@") {
        return RootOf(fs.VolumeOf(fs.ProgramPath()));
    }
    if (!playerDrive.empty() && playerDrive.front() == '/') {
        return RootOf(playerDrive);
    }
    return "C:\\";
}

bool SameDrive(const std::string& a, const std::string& b, FileSystem& fs) {
    const std::string volumeA = fs.VolumeOf(a);
    const std::string volumeB = fs.VolumeOf(b);
    if (!volumeA.empty() && !volumeB.empty()) {
        return volumeA == volumeB;
    }
    return ToLowerAscii(a.substr(0, 3)) == ToLowerAscii(b.substr(0, 3));
}

} // namespace tralvo
