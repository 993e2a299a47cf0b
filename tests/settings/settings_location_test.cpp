#include "platform/ini_file.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "support/scoped_variable.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace tralvo {
namespace {

using test::ScopedVariable;

SettingsPlace Place(bool fileBeside, bool writable, bool portable,
                    std::string config = "/home/u/.config") {
    return {"/opt/tralvo/bin/", fileBeside, writable, portable, std::move(config)};
}

TEST(SettingsLocation, APortableProgramKeepsItsFileBesideItAnInstalledOneInTheUsersFolder) {
    const std::string beside = "/opt/tralvo/bin/Tralvo.ini";
    const std::string inConfig = "/home/u/.config/tralvo/Tralvo.ini";
    // A copied bin/ folder or a stick: beside the program, as ever.
    EXPECT_EQ(SettingsFileFor(Place(false, true, true)), beside);
    // A file that stands there wins, even where the program may not write (the box then names
    // it), and even in an installed tree: the user put it there.
    EXPECT_EQ(SettingsFileFor(Place(true, false, true)), beside);
    EXPECT_EQ(SettingsFileFor(Place(true, false, false)), beside);
    // Installed: never into the tree, even for a user who may write there (root in /usr/bin).
    EXPECT_EQ(SettingsFileFor(Place(false, true, false)), inConfig);
    EXPECT_EQ(SettingsFileFor(Place(false, false, false)), inConfig);
    // A portable copy on a read-only medium.
    EXPECT_EQ(SettingsFileFor(Place(false, false, true)), inConfig);
    EXPECT_EQ(SettingsFileFor(Place(false, false, false, "/xdg/")), "/xdg/tralvo/Tralvo.ini");
    // No home and no XDG_CONFIG_HOME: the program's folder is all there is.
    EXPECT_EQ(SettingsFileFor(Place(false, false, false, "")), beside);
}

TEST(SettingsLocation, TheConfigurationFolderFollowsXdgConfigHomeElseHome) {
    const ScopedVariable home("HOME", "/home/someone");
    {
        const ScopedVariable config("XDG_CONFIG_HOME", "/somewhere/config");
        EXPECT_EQ(ThisProgramsSettingsPlace().configFolder, "/somewhere/config");
    }
    for (const std::optional<std::string>& unset :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/config")}) {
        const ScopedVariable config("XDG_CONFIG_HOME", unset);
        EXPECT_EQ(ThisProgramsSettingsPlace().configFolder, "/home/someone/.config");
    }
}

TEST(SettingsLocation, TheFirstSaveMakesTheUsersFolderPrivateAndTheNextLoadReadsIt) {
    test::TempFolder folder;
    const std::string path = folder / "config/tralvo/Tralvo.ini";
    UserSettings settings;
    settings.PlayerDrive = "/media/user/PLAYER";
    ASSERT_TRUE(SaveSettingsTo(path, settings).ok());

    struct stat info {};
    ASSERT_EQ(::stat((folder / "config/tralvo").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700);
    EXPECT_EQ(IniFile(path).ReadString("Player", "Drive", ""), "/media/user/PLAYER");

    // A file where the folder should be is a failure that names it, not a crash.
    folder.WriteFile("blocked", "");
    const Status blocked = SaveSettingsTo(folder / "blocked/tralvo/Tralvo.ini", settings);
    EXPECT_FALSE(blocked.ok());
    EXPECT_NE(blocked.message().find("blocked"), std::string::npos) << blocked.message();
}

} // namespace
} // namespace tralvo
