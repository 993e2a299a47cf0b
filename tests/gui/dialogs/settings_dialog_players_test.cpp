#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "i18n/language_catalogue.h"
#include "settings/settings_store.h"
#include "support/fake_file_system.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

const PlayerVolume Stick{"1234-ABCD", "STICK", "/media/STICK"};
const PlayerVolume Car{"9F00-0001", "", "/media/CAR"};

TEST(SettingsDialogPlayers, ChoosingADriveShowsThatPlayersSettingsAndOkGivesThemToIt) {
    test::TempFolder folder;
    Catalogue().Open(folder.WriteFile(
        "Tralvo.lng", "[Languages]\nCount=1\n[Language0-Strings]\nDrive=Drive\n"
                      "NamedPlayerVolume=Player \"%0\" (%1)\nNoPlayerVolume=No player volume\n"));
    test::FakeFileSystem fs;
    fs.currentFolder = "/";
    fs.volumeOf = {{"/", "/"}};
    fs.volumes = {{"/media/STICK", "vfat", "/dev/sdy1"}, {"/media/CAR", "vfat", "/dev/sdz1"}};
    fs.folders = {"/media/STICK", "/media/CAR", "/media/CAR/"};
    UserSettings stored;
    stored.PlayerDrive = "/media/STICK";
    stored.PlayerType = PlayerType::FileNames;
    stored.Only83FileNames = true;
    stored.Players.current = Stick;
    // The stick's section is older than the global keys, which are what counts for it.
    stored.Players.profiles = {{Stick.id, "STICK", PlayerType::DirectoryOrder, false, ""},
                               {Car.id, "CAR", PlayerType::CreationTimes, false, "Drive"}};
    GuiSettings settings(stored);
    test::ScriptedMessages messages;
    SettingsDialog form(settings, messages, nullptr, nullptr, fs);
    form.SetPlayerVolumeFinder([](const std::string& root) -> std::optional<PlayerVolume> {
        return root == "/media/STICK/" ? std::optional(Stick)
               : root == "/media/CAR/" ? std::optional(Car)
                                       : std::nullopt;
    });
    form.show();
    const auto button = [&form](const char* name) {
        return form.findChild<QAbstractButton*>(QString::fromLatin1(name));
    };
    const auto named = [&form] {
        return form.findChild<QLabel*>(QStringLiteral("PlayerVolumeLbl"))->text().toStdString();
    };
    // Drive entries end in the mount point in brackets; "?" is the first.
    auto* drives = form.findChild<QComboBox*>(QStringLiteral("PlayerDriveCB"));
    const auto choose = [drives](const char* mountPoint) {
        drives->setCurrentIndex(std::max(
            drives->findText(QString::fromLatin1(mountPoint) + ")", Qt::MatchEndsWith), 0));
    };

    EXPECT_EQ(named(), "Player \"STICK\" (1234-ABCD)");
    EXPECT_TRUE(button("SortingByFilenameRB")->isChecked()); // the global keys, not the section
    choose("/media/CAR");
    EXPECT_EQ(named(), "Player \"CAR\" (9F00-0001)"); // the label it was known by
    EXPECT_TRUE(button("SortingByFileCreationTimeRB")->isChecked());
    EXPECT_FALSE(button("Only83FileNamesCB")->isChecked());
    choose("?");
    EXPECT_EQ(named(), "No player volume");
    EXPECT_TRUE(button("SortingByFilenameRB")->isChecked()); // what is in force
    EXPECT_EQ(stored.Players.current->id, Stick.id);         // nothing stored before OK

    choose("/media/CAR");
    button("UsingFATRB")->click();
    button("OKBtn")->click();
    EXPECT_EQ(stored.PlayerDrive, "/media/CAR");
    EXPECT_EQ(stored.PlayerType, PlayerType::DirectoryOrder);
    EXPECT_EQ(stored.Players.current->id, Car.id);
    EXPECT_EQ(stored.Players.Find(Car.id)->type, PlayerType::DirectoryOrder);
    EXPECT_EQ(stored.Window.LastMyPlayerPath, "/media/CAR/Drive");
    EXPECT_EQ(stored.Players.Find(Stick.id)->type, PlayerType::FileNames);
    EXPECT_TRUE(stored.Players.Find(Stick.id)->only83FileNames);
    Catalogue().Close();
}

} // namespace
} // namespace tralvo
