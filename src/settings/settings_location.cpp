#include "settings/settings_location.h"

#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "platform/user_folders.h"

#include <unistd.h>

namespace tralvo {

namespace {

constexpr const char* FileName = "Tralvo.ini";

} // namespace

std::string SettingsFileFor(const SettingsPlace& place) {
    if (place.fileBeside || (place.folderWritable && place.portableLayout) ||
        place.configFolder.empty()) {
        return place.programFolder + FileName;
    }
    std::string folder = place.configFolder;
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + "tralvo/" + FileName;
}

SettingsPlace ThisProgramsSettingsPlace() {
    FileSystem& fs = SystemFileSystem();
    SettingsPlace place;
    place.programFolder = ProgramFolder();
    place.fileBeside = fs.FileExists(place.programFolder + FileName);
    place.folderWritable = ::access(place.programFolder.c_str(), W_OK) == 0;
    place.portableLayout = fs.FileExists(place.programFolder + "Tralvo.lng");
    place.configFolder = UserBaseFolder("XDG_CONFIG_HOME", ".config");
    return place;
}

} // namespace tralvo
