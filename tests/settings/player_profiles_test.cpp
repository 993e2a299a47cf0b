#include "i18n/catalogue_fixture.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "settings/player_profiles.h"
#include "settings/player_switch.h"
#include "settings/settings_store.h"

#include <cstdio>
#include <ostream>
#include <gtest/gtest.h>

namespace tralvo {

void PrintTo(const PlayerProfile& profile, std::ostream* out) {
    *out << profile.id << " \"" << profile.label << "\" type " << PlayerTypeNumber(profile.type)
         << " 8.3 " << profile.only83FileNames << " \"" << profile.lastFolder << '"';
}

namespace {

PlayerVolume StickA(const std::string& root = "/media/me/STICK") {
    return {"1234-ABCD", "STICK", root};
}
PlayerVolume StickB(const std::string& root = "/media/me/CAR") {
    return {"9F00-0001", "CAR", root};
}

void SetPlayerValues(UserSettings& settings, PlayerType type, bool only83,
                     const std::string& folder) {
    settings.PlayerType = type;
    settings.Only83FileNames = only83;
    settings.Window.LastMyPlayerPath = folder;
}

KnownPlayers Read(std::string_view text) {
    IniFile ini;
    ini.Parse(text);
    return ReadKnownPlayers(ini);
}

TEST(PlayerProfiles, SectionsAreWrittenAndReadBack) {
    KnownPlayers players;
    players.current = StickB();
    players.profiles = {{"1234-ABCD", "STICK", PlayerType::FileNames, true, "Music/Rock"},
                        {"9F00-0001", "", PlayerType::CreationTimes, false, ""}};
    IniFile ini;
    WriteKnownPlayers(ini, players);
    EXPECT_EQ(ini.Text(), "[Player]\nVolume=9F00-0001\n\n"
                          "[Player 1234-ABCD]\nLabel=STICK\nType=1\nOnly83FileNames=1\n"
                          "LastFolder=Music/Rock\n\n"
                          "[Player 9F00-0001]\nLabel=\nType=2\nOnly83FileNames=0\nLastFolder=\n");

    const KnownPlayers read = Read(ini.Text());
    EXPECT_EQ(read.profiles, players.profiles);
    ASSERT_TRUE(read.current.has_value());
    EXPECT_EQ(read.current->id, "9F00-0001");
    EXPECT_EQ(read.current->root, ""); // where it is mounted is found anew each run
}

TEST(PlayerProfiles, AFileThatNeverMetAPlayerGetsNoPlayerKeys) {
    IniFile ini;
    ini.Parse("[Player]\nDrive=@\n");
    WriteKnownPlayers(ini, {});
    EXPECT_EQ(ini.Text(), "[Player]\nDrive=@\n");
}

TEST(PlayerProfiles, OddSectionsAreRepairedOrLeftOut) {
    const KnownPlayers players = Read("[Player]\nVolume=not an id\n"
                                      "[Player 12345678]\nType=1\n"      // no dash
                                      "[Player 1234-ABCZ]\nType=1\n"     // not hex
                                      "[Player 1234-ABCD-1]\nType=1\n"   // too long
                                      "[Player  1234-abcd ]\nType=258\n" // low 8 bits: 2
                                      "Label=\x01 MY\tSTICK\x7F \n"
                                      "LastFolder=/Music/Rock/\n"
                                      "[Player 1234-ABCD]\nType=0\n" // repeated: the first counts
                                      "[Player 0000-0001]\nType=3\nOnly83FileNames=7\n"
                                      "LastFolder=Music/../../etc\n"
                                      "[Player 0000-0002]\nType=-1\nLastFolder=a//b\n");
    EXPECT_FALSE(players.current.has_value());
    ASSERT_EQ(players.profiles.size(), 3u);
    EXPECT_EQ(players.profiles[0], (PlayerProfile{"1234-ABCD", "MYSTICK", PlayerType::CreationTimes,
                                                  false, "Music/Rock"}));
    EXPECT_EQ(players.profiles[1],
              (PlayerProfile{"0000-0001", "", PlayerType::DirectoryOrder, true, ""}));
    EXPECT_EQ(players.profiles[2],
              (PlayerProfile{"0000-0002", "", PlayerType::DirectoryOrder, false, ""}));
}

TEST(PlayerProfiles, HugeInputIsCutToSize) {
    std::string text = "[Player 0000-0000]\nLabel=" + std::string(5000, 'L') + "\n";
    for (int i = 1; i < 1000; ++i) {
        char id[10];
        std::snprintf(id, sizeof id, "%04X-0000", i);
        text += "[Player " + std::string(id) + "]\nType=1\n";
    }
    const KnownPlayers players = Read(text);
    EXPECT_EQ(players.profiles.size(), 256u);
    EXPECT_EQ(players.profiles.front().label.size(), 64u);
}

TEST(PlayerProfiles, TheLastFolderIsKeptRelativeToTheVolumesRoot) {
    EXPECT_EQ(FolderBelowRoot("/media/me/STICK", "/media/me/STICK/Music/Rock"), "Music/Rock");
    EXPECT_EQ(FolderBelowRoot("/media/me/STICK/", "/media/me/STICK"), "");
    EXPECT_EQ(FolderBelowRoot("/media/me/STICK", "/media/me/STICK2/Music"), std::nullopt);
    EXPECT_EQ(FolderBelowRoot("/media/me/STICK", "/media/me/stick/Music"), std::nullopt);
    EXPECT_EQ(FolderBelowRoot("", "/media/me/STICK"), std::nullopt);

    // The same stick under another mount point finds its folder there.
    UserSettings settings;
    SwitchPlayer(settings, StickA());
    settings.Window.LastMyPlayerPath = "/media/me/STICK/Music/Rock";
    SwitchPlayer(settings, StickB());
    SwitchPlayer(settings, StickA("/run/media/other/STICK"));
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/run/media/other/STICK/Music/Rock");
}

TEST(PlayerSwitch, SwitchingAToBAndBackRestoresEachPlayersSettings) {
    UserSettings settings;
    SwitchPlayer(settings, StickA());
    SetPlayerValues(settings, PlayerType::FileNames, true, "/media/me/STICK/Pop");
    SwitchPlayer(settings, StickB());
    SetPlayerValues(settings, PlayerType::CreationTimes, false, "/media/me/CAR/Drive");

    EXPECT_TRUE(SwitchPlayer(settings, StickA()));
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_TRUE(settings.Only83FileNames);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/me/STICK/Pop");

    EXPECT_TRUE(SwitchPlayer(settings, StickB()));
    EXPECT_EQ(settings.PlayerType, PlayerType::CreationTimes);
    EXPECT_FALSE(settings.Only83FileNames);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/me/CAR/Drive");
    ASSERT_EQ(settings.Players.profiles.size(), 2u);
    EXPECT_EQ(settings.Players.profiles[0].label, "STICK");
}

TEST(PlayerSwitch, APlayerMetForTheFirstTimeTakesTheSettingsInForce) {
    UserSettings settings;
    SetPlayerValues(settings, PlayerType::FileNames, true, "/media/me/STICK/Pop");
    EXPECT_TRUE(SwitchPlayer(settings, StickA()));
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    ASSERT_NE(settings.Players.Find("1234-ABCD"), nullptr);
    EXPECT_EQ(*settings.Players.Find("1234-ABCD"),
              (PlayerProfile{"1234-ABCD", "STICK", PlayerType::FileNames, true, "Pop"}));

    SwitchPlayer(settings, StickB());
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_TRUE(settings.Only83FileNames);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/me/CAR"); // A's folder is not B's
}

TEST(PlayerSwitch, AFolderWithoutIdentityKeepsTheGlobalValuesAndHasNoProfile) {
    UserSettings settings;
    SetPlayerValues(settings, PlayerType::CreationTimes, false, "/home/me/player");
    EXPECT_FALSE(SwitchPlayer(settings, std::nullopt));
    EXPECT_TRUE(settings.Players.profiles.empty());

    SwitchPlayer(settings, StickA());
    SetPlayerValues(settings, PlayerType::FileNames, false, "/media/me/STICK/x");
    EXPECT_FALSE(SwitchPlayer(settings, std::nullopt));
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_FALSE(settings.Players.current.has_value());
    EXPECT_EQ(settings.Players.Find("1234-ABCD")->lastFolder, "x"); // A's values kept for A
}

TEST(PlayerSwitch, AnotherStickAtTheSameMountPointKeepsItsOwnLastFolder) {
    UserSettings settings;
    SwitchPlayer(settings, StickB("/media/usb"));
    settings.Window.LastMyPlayerPath = "/media/usb/Audiobooks";
    SwitchPlayer(settings, StickA("/media/usb"));
    settings.Window.LastMyPlayerPath = "/media/usb/Music";
    SwitchPlayer(settings, StickB("/media/usb"));
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/usb/Audiobooks");
    EXPECT_EQ(settings.Players.Find("1234-ABCD")->lastFolder, "Music");
}

TEST(PlayerSwitch, FollowingTheDriveAsksTheFinderAboutThePlayerRoot) {
    UserSettings settings;
    settings.PlayerDrive = "/media/me/CAR";
    std::string asked;
    const PlayerVolumeFinder find = [&asked](const std::string& folder) {
        asked = folder;
        return std::optional<PlayerVolume>(StickB());
    };
    EXPECT_TRUE(FollowPlayerVolume(settings, SystemFileSystem(), find));
    EXPECT_EQ(asked, "/media/me/CAR/");
    EXPECT_EQ(settings.Players.current->id, "9F00-0001");
    EXPECT_FALSE(FollowPlayerVolume(settings, SystemFileSystem(), find)); // still the same
}

constexpr std::string_view OneLanguage = "[Languages]\nCount=1\nDefault=0\n[Language0]\nName=A\n";

TEST(PlayerSwitch, AnOlderReaderFindsTheCurrentPlayersSettingsInTheGlobalKeys) {
    test::CatalogueFile catalogueFile{OneLanguage};
    test::TempFolder folder;
    const std::string path = folder / "Tralvo.ini";
    UserSettings settings;
    SwitchPlayer(settings, StickA());
    SwitchPlayer(settings, StickB());
    // Changed after the switch, as the settings dialog or another version would.
    SetPlayerValues(settings, PlayerType::CreationTimes, false, "/media/me/CAR/Drive");
    ASSERT_TRUE(SaveSettingsTo(path, settings).ok());

    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Player", "Type", -1), 2);
    EXPECT_EQ(ini.ReadInteger("Player 9F00-0001", "Type", -1), 2);
    EXPECT_EQ(ini.ReadString("Player 9F00-0001", "LastFolder", "?"), "Drive");
    EXPECT_EQ(ini.ReadString("Player", "Volume", ""), "9F00-0001");

    UserSettings loaded = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    KeepCurrentPlayer(settings); // as the save did
    EXPECT_EQ(loaded.Players.profiles, settings.Players.profiles);
    // An older version changed the global type meanwhile: it is still the current player's.
    IniFile edited(path);
    edited.WriteInteger("Player", "Type", 1);
    ASSERT_TRUE(edited.Save().ok());
    loaded = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    EXPECT_FALSE(SwitchPlayer(loaded, StickB()));
    EXPECT_EQ(loaded.PlayerType, PlayerType::FileNames);
    SwitchPlayer(loaded, StickA());
    EXPECT_EQ(loaded.Players.Find("9F00-0001")->type, PlayerType::FileNames);
}

} // namespace
} // namespace tralvo
