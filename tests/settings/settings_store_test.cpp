#include "i18n/catalogue_fixture.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "settings/settings_store.h"
#include "support/read_only_folder.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::ReadFile;

constexpr std::string_view ThreeLanguages =
    "[Languages]\nCount=3\nDefault=2\n[Language0]\nName=A\n[Language1]\nName=B\n"
    "[Language2]\nName=C\n";

class SettingsStore : public ::testing::Test {
protected:
    UserSettings Load(std::string_view iniText) {
        folder.WriteFile("Tralvo.ini", iniText);
        return LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    }

    test::CatalogueFile catalogueFile{ThreeLanguages};
    test::TempFolder folder;
    std::string path = folder / "Tralvo.ini";
};

TEST_F(SettingsStore, AMissingFileGivesTheDefaultsAndAFirstRun) {
    const UserSettings config = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    EXPECT_TRUE(config.FirstRun);
    EXPECT_EQ(config.Language, 2); // -1 is not valid: the catalogue's default
    EXPECT_TRUE(config.LargeFileIcons);
    EXPECT_TRUE(config.LargeFileIconsAtStart);
    EXPECT_EQ(config.PlayerDrive, "@");
    EXPECT_EQ(config.PlayerType, PlayerType::DirectoryOrder);
    EXPECT_FALSE(config.Only83FileNames);
    EXPECT_EQ(config.SortKey1, media::SortKey::Artist);
    EXPECT_EQ(config.SortKey2, media::SortKey::Album);
    EXPECT_EQ(config.SortKey3, media::SortKey::Title);
    EXPECT_FALSE(config.NaturalSort);
    EXPECT_EQ(config.Window.WindowWidth, -1);
    EXPECT_EQ(config.Window.SplitterPos, -1);
    EXPECT_FALSE(config.Window.WindowMaximized);
    EXPECT_EQ(Load("").FirstRun, false);
}

TEST_F(SettingsStore, DriveValuesAreRepaired) {
    const auto drive = [this](std::string_view value) {
        return Load("[Player]\nDrive=" + std::string(value) + "\n").PlayerDrive;
    };
    EXPECT_EQ(drive(""), "@");
    EXPECT_EQ(drive("e"), "@");
    EXPECT_EQ(drive("E:"), "E");
    EXPECT_EQ(drive("E:\\Music"), "E");
    EXPECT_EQ(drive("?"), "?");
    EXPECT_EQ(drive("["), "@");
    EXPECT_EQ(drive(">"), "@");
    EXPECT_EQ(drive("/media/player"), "/media/player");
}

TEST_F(SettingsStore, PlayerTypeKeepsTheLowEightBitsAndRepairsOutOfRange) {
    EXPECT_EQ(Load("[Player]\nType=3\n").PlayerType, PlayerType::DirectoryOrder);
    EXPECT_EQ(Load("[Player]\nType=-1\n").PlayerType, PlayerType::DirectoryOrder);
    EXPECT_EQ(Load("[Player]\nType=257\n").PlayerType, PlayerType::FileNames);
    EXPECT_EQ(Load("[Player]\nType=2\n").PlayerType, PlayerType::CreationTimes);
    EXPECT_EQ(Load("[Player]\nType=two\n").PlayerType, PlayerType::DirectoryOrder);
}

TEST_F(SettingsStore, SortKeysAbove8FallBackToTheirOwnDefaults) {
    const UserSettings config = Load("[Sort]\n1=9\n2=0x108\n3=300\n");
    EXPECT_EQ(config.SortKey1, media::SortKey::Artist);
    EXPECT_EQ(config.SortKey2, media::SortKey::ShortFileName);
    EXPECT_EQ(config.SortKey3, media::SortKey::Title);
    EXPECT_EQ(Load("[Sort]\n1=0x5\n").SortKey1, media::SortKey::Comment);
    EXPECT_EQ(Load("[Sort]\n2=9\n3=9\n").SortKey2, media::SortKey::Album);
}

TEST_F(SettingsStore, NaturalOrderIsOffUnlessTheFileTurnsItOnAndTheKeysCarryIt) {
    // A file of a version before the key sorts as it did.
    EXPECT_FALSE(Load("[Sort]\n1=0\n2=1\n3=2\n").NaturalSort);
    EXPECT_FALSE(Load("[Sort]\nNatural=0\n").NaturalSort);
    EXPECT_FALSE(Load("[Sort]\nNatural=yes\n").NaturalSort);
    EXPECT_FALSE(Load("[Player]\nNatural=1\n").NaturalSort); // in its own section only
    const UserSettings on = Load("[Sort]\nNatural=1\n");
    EXPECT_TRUE(on.NaturalSort);
    EXPECT_TRUE(on.Keys().natural);
    EXPECT_EQ(on.Keys().key1, media::SortKey::Artist);
    EXPECT_FALSE(Load("").Keys().natural);
}

TEST_F(SettingsStore, AnInvalidLanguageLoadsTheCataloguesDefaultAndMakesItCurrent) {
    EXPECT_EQ(Load("[Appearance]\nLanguage=7\n").Language, 2);
    EXPECT_EQ(Load("[Appearance]\nLanguage=3\n").Language, 2);
    EXPECT_EQ(catalogueFile.catalogue.CurrentLanguage(), 2);
    EXPECT_EQ(Load("[Appearance]\nLanguage=1\n").Language, 1);
    EXPECT_EQ(catalogueFile.catalogue.CurrentLanguage(), 1);
}

TEST_F(SettingsStore, IconSizeAtStartStaysWhileTheChosenOneIsSaved) {
    UserSettings config = Load("[Appearance]\nLargeFileIcons=0\n");
    EXPECT_FALSE(config.LargeFileIcons);
    EXPECT_FALSE(config.LargeFileIconsAtStart);
    config.LargeFileIcons = true;
    ASSERT_TRUE(SaveSettingsTo(path, config).ok());
    EXPECT_EQ(IniFile(path).ReadString("Appearance", "LargeFileIcons", "?"), "1");
}

TEST_F(SettingsStore, PathsLoseBlanksAndControlCharactersAtBothEnds) {
    const UserSettings config = Load("[Window]\nLastMyComputerPath=\t/home/me/Music \x01\n"
                                     "LastMyPlayerPath=\"  /media/p  \"\n");
    EXPECT_EQ(config.Window.LastMyComputerPath, "/home/me/Music");
    EXPECT_EQ(config.Window.LastMyPlayerPath, "/media/p");
}

TEST_F(SettingsStore, SavingWritesAllSeventeenKeysInOrderAndKeepsOtherLines) {
    folder.WriteFile("Tralvo.ini", "; my notes\n[Player]\nDrive=E\nVendor=kept\n\n[Extra]\nx=1\n");
    UserSettings config = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    config.Window.LastMyPlayerPath = "E:\\Music";
    ASSERT_TRUE(SaveSettingsTo(path, config).ok());
    EXPECT_EQ(ReadFile(path), "; my notes\n"
                              "[Player]\n"
                              "Drive=E\n"
                              "Vendor=kept\n"
                              "Type=0\n"
                              "Only83FileNames=0\n"
                              "\n"
                              "[Extra]\n"
                              "x=1\n"
                              "\n"
                              "[Appearance]\n"
                              "Language=2\n"
                              "LargeFileIcons=1\n"
                              "\n"
                              "[Sort]\n"
                              "1=2\n"
                              "2=3\n"
                              "3=1\n"
                              "Natural=0\n"
                              "\n"
                              "[Window]\n"
                              "Maximized=0\n"
                              "Width=-1\n"
                              "Height=-1\n"
                              "Left=-1\n"
                              "Top=-1\n"
                              "Splitter=-1\n"
                              "LastMyComputerPath=\n"
                              "LastMyPlayerPath=E:\\Music\n");
}

TEST_F(SettingsStore, WhatIsSavedLoadsBackUnchanged) {
    UserSettings config = Load("");
    config.Language = 1;
    config.LargeFileIcons = false;
    config.PlayerDrive = "/media/my player";
    config.PlayerType = PlayerType::FileNames;
    config.Only83FileNames = true;
    config.SortKey1 = media::SortKey::ShortFileName;
    config.SortKey2 = media::SortKey::FileName;
    config.SortKey3 = media::SortKey::CreationTime;
    config.NaturalSort = true;
    config.Window = {true, 800, 600, -20, 5, 300, "/home/me/My Music", "/media/my player/x"};
    ASSERT_TRUE(SaveSettingsTo(path, config).ok());
    UserSettings loaded = LoadSettingsFrom(path, catalogueFile.catalogue, SystemFileSystem());
    config.LargeFileIconsAtStart = false;
    config.FirstRun = false;
    EXPECT_EQ(loaded.Language, config.Language);
    EXPECT_EQ(loaded.LargeFileIcons, config.LargeFileIcons);
    EXPECT_EQ(loaded.LargeFileIconsAtStart, config.LargeFileIconsAtStart);
    EXPECT_EQ(loaded.PlayerDrive, config.PlayerDrive);
    EXPECT_EQ(loaded.PlayerType, config.PlayerType);
    EXPECT_EQ(loaded.Only83FileNames, config.Only83FileNames);
    EXPECT_EQ(loaded.SortKey1, config.SortKey1);
    EXPECT_EQ(loaded.SortKey2, config.SortKey2);
    EXPECT_EQ(loaded.SortKey3, config.SortKey3);
    EXPECT_EQ(loaded.NaturalSort, config.NaturalSort);
    EXPECT_EQ(loaded.Window.WindowMaximized, true);
    EXPECT_EQ(loaded.Window.WindowWidth, 800);
    EXPECT_EQ(loaded.Window.WindowHeight, 600);
    EXPECT_EQ(loaded.Window.WindowLeft, -20);
    EXPECT_EQ(loaded.Window.WindowTop, 5);
    EXPECT_EQ(loaded.Window.SplitterPos, 300);
    EXPECT_EQ(loaded.Window.LastMyComputerPath, config.Window.LastMyComputerPath);
    EXPECT_EQ(loaded.Window.LastMyPlayerPath, config.Window.LastMyPlayerPath);
}

TEST_F(SettingsStore, AWriteFailureNamesTheFile) {
    const std::string locked = folder.MakeFolder("locked");
    test::ReadOnlyFolder readOnly(locked);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    const Status status = SaveSettingsTo(locked + "/Tralvo.ini", UserSettings{});
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find(locked + "/Tralvo.ini"), std::string::npos);
}

} // namespace
} // namespace tralvo
