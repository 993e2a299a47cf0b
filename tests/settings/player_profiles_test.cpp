#include "i18n/catalogue_fixture.h"
#include "platform/ini_file.h"
#include "settings/player_switch.h"
#include "settings/settings_store.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

const PlayerVolume StickA{"1234-ABCD", "STICK", "/media/me/STICK"};
const PlayerVolume StickB{"9F00-0001", "CAR", "/media/me/CAR"};

void SetPlayerValues(UserSettings& settings, PlayerType type, const std::string& folder) {
    settings.PlayerType = type;
    settings.Window.LastMyPlayerPath = folder;
}

KnownPlayers Read(std::string_view text) {
    IniFile ini;
    ini.Parse(text);
    return ReadKnownPlayers(ini);
}

TEST(PlayerProfiles, SectionsAreWrittenAndReadBack) {
    KnownPlayers players;
    players.current = StickB;
    players.profiles = {{"1234-ABCD", "STICK", PlayerType::FileNames, true, "Music/Rock"}};
    IniFile ini;
    WriteKnownPlayers(ini, players);
    EXPECT_EQ(ini.Text(), "[Player]\nVolume=9F00-0001\n\n[Player 1234-ABCD]\nLabel=STICK\nType=1\n"
                          "Only83FileNames=1\nLastFolder=Music/Rock\n");
    const KnownPlayers read = Read(ini.Text());
    EXPECT_EQ(read.profiles, players.profiles);
    EXPECT_EQ(read.current->id, "9F00-0001");
}

TEST(PlayerProfiles, OddSectionsAreRepairedOrLeftOut) {
    std::string text = "[Player]\nVolume=not an id\n"
                       "[Player 12345678]\n[Player 1234-ABCZ]\n[Player 1234-ABCD-1]\n"
                       "[Player  1234-abcd ]\nType=258\nLabel=\x01 MY\tSTICK\x7F \n"
                       "LastFolder=/Music/Rock/\n"
                       "[Player 1234-ABCD]\nType=0\n" // a repeat: the first counts
                       "[Player 0000-0001]\nType=3\nLastFolder=Music/../../etc\nLabel=" +
                       std::string(5000, 'L') + "\n";
    for (int i = 2; i < 1000; ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "[Player %04X-0000]\n", i);
        text += section;
    }
    const KnownPlayers players = Read(text);
    EXPECT_FALSE(players.current.has_value());
    ASSERT_EQ(players.profiles.size(), 256u);
    EXPECT_EQ(players.profiles[0], (PlayerProfile{"1234-ABCD", "MYSTICK", PlayerType::CreationTimes,
                                                  false, "Music/Rock"}));
    EXPECT_EQ(players.profiles[1].type, PlayerType::DirectoryOrder);
    EXPECT_EQ(players.profiles[1].lastFolder, "");
    EXPECT_EQ(players.profiles[1].label.size(), 64u);
}

TEST(PlayerSwitch, EachPlayerGetsItsOwnSettingsBackAndANewOneTakesThoseInForce) {
    UserSettings settings;
    SetPlayerValues(settings, PlayerType::FileNames, "/media/me/STICK/Pop");
    EXPECT_TRUE(SwitchPlayer(settings, StickA)); // met for the first time: keeps them
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_TRUE(SwitchPlayer(settings, StickB));
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/me/CAR"); // A's folder is not B's
    SetPlayerValues(settings, PlayerType::CreationTimes, "/media/me/CAR/Drive");

    // A elsewhere: its folder is found below its new mount point.
    EXPECT_TRUE(SwitchPlayer(settings, PlayerVolume{StickA.id, "", "/run/media/STICK"}));
    EXPECT_EQ(settings.PlayerType, PlayerType::FileNames);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/run/media/STICK/Pop");
    EXPECT_TRUE(SwitchPlayer(settings, StickB));
    EXPECT_EQ(settings.PlayerType, PlayerType::CreationTimes);
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/me/CAR/Drive");
    EXPECT_EQ(settings.Players.Find(StickA.id)->label, "STICK"); // no label found: kept

    // A folder without an identity keeps the values in force and has no profile.
    EXPECT_FALSE(SwitchPlayer(settings, std::nullopt));
    EXPECT_EQ(settings.PlayerType, PlayerType::CreationTimes);
    EXPECT_EQ(settings.Players.profiles.size(), 2u);
}

TEST(PlayerSwitch, AnotherStickAtTheSameMountPointKeepsItsOwnLastFolder) {
    UserSettings settings;
    SwitchPlayer(settings, PlayerVolume{StickB.id, "", "/media/usb"});
    settings.Window.LastMyPlayerPath = "/media/usb/Books";
    SwitchPlayer(settings, PlayerVolume{StickA.id, "", "/media/usb"});
    EXPECT_EQ(settings.Players.Find(StickA.id)->lastFolder, "Books"); // new: inherits
    settings.Window.LastMyPlayerPath = "/media/usb/Music";
    SwitchPlayer(settings, PlayerVolume{StickB.id, "", "/media/usb"});
    EXPECT_EQ(settings.Window.LastMyPlayerPath, "/media/usb/Books");
    EXPECT_EQ(settings.Players.Find(StickA.id)->lastFolder, "Music");
}

TEST(PlayerSwitch, AnOlderReaderFindsTheCurrentPlayersSettingsInTheGlobalKeys) {
    test::CatalogueFile catalogueFile{"[Languages]\nCount=1\n[Language0]\nName=A\n"};
    test::TempFolder folder;
    const std::string path = folder / "Tralvo.ini";
    UserSettings settings;
    SwitchPlayer(settings, StickA);
    SwitchPlayer(settings, StickB);
    SetPlayerValues(settings, PlayerType::CreationTimes, "/media/me/CAR/Drive");
    ASSERT_TRUE(SaveSettingsTo(path, settings).ok());
    const IniFile saved(path);
    EXPECT_EQ(saved.ReadInteger("Player", "Type", -1), 2);
    EXPECT_EQ(saved.ReadInteger("Player 9F00-0001", "Type", -1), 2);
    EXPECT_EQ(saved.ReadString("Player 9F00-0001", "LastFolder", "?"), "Drive");

    // An older version changes the global type: it is still the current player's.
    IniFile edited(path);
    edited.WriteInteger("Player", "Type", 1);
    ASSERT_TRUE(edited.Save().ok());
    UserSettings loaded = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    EXPECT_FALSE(SwitchPlayer(loaded, StickB));
    SwitchPlayer(loaded, StickA);
    EXPECT_EQ(loaded.Players.Find(StickB.id)->type, PlayerType::FileNames);
}

} // namespace
} // namespace tralvo
