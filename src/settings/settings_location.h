#pragma once

#include <string>

namespace tralvo {

// What decides where the settings file lives.
struct SettingsPlace {
    std::string programFolder; // with a trailing '/'
    bool fileBeside = false;   // Tralvo.ini stands in programFolder
    bool folderWritable = false;
    // The catalogue lies beside the program: a portable copy (the build's bin/ folder, a copy
    // of it, a stick), not an installed tree whose data lies in share/.
    bool portableLayout = false;
    // The user's configuration folder ($XDG_CONFIG_HOME, default ~/.config); empty when
    // there is none.
    std::string configFolder;
};

// The settings file for place: beside the program when one stands there already or the
// program is a portable copy in a folder this user can write; else Tralvo.ini in the user's
// configuration folder. An installed tree is never written to, even by a user who may write
// there (root). Without a configuration folder the program's folder is all there is.
std::string SettingsFileFor(const SettingsPlace& place);

// The place of this process: its program folder, environment and user.
SettingsPlace ThisProgramsSettingsPlace();

} // namespace tralvo
