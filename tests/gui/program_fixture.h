#pragma once

#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/pane_list_view.h"
#include "gui/termination.h"
#include "i18n/language_catalogue.h"
#include "media/writers/id3v2_writer.h"
#include "platform/program_folder.h"
#include "playback/module_loader.h"
#include "settings/settings_store.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tralvo::test {

// An MP3 file whose ID3v1 tag holds these fields.
inline std::string TaggedSong(const std::string& title, const std::string& artist = {},
                              const std::string& album = {}) {
    Id3v1Fields fields;
    fields.title = title;
    fields.artist = artist;
    fields.album = album;
    return AsString(Mp3File({}, 1, fields));
}

// A program folder of its own with the shipped catalogue, opened and with the settings
// loaded as the program's start does; put back to a clean state afterwards.
class ProgramFolderFixture : public testing::Test {
protected:
    void SetUp() override {
        WriteWholeFile(folder / "Tralvo.lng",
                       ReadFile(std::string(TRALVO_BIN_DIR) + "/Tralvo.lng"));
        SetProgramFolder(folder.path());
        playback::SetModuleFolder(TRALVO_BIN_DIR);
        ResetTermination();
    }
    void TearDown() override {
        CloseLanguageCatalogue();
        ResetTermination();
    }

    // The module start steps, after the test has written what Tralvo.ini it wants.
    void Start() {
        OpenLanguageCatalogue();
        Settings = LoadSettings();
    }

    TempFolder folder;
    ScriptedMessages messages;
    // The settings the start loads, which the program hands to its windows.
    UserSettings Settings;
};

// The main window and its settings dialog, as the program creates them; closed before the
// program folder is put back.
class MainWindowFixture : public ProgramFolderFixture {
protected:
    void TearDown() override {
        CloseWindows();
        ProgramFolderFixture::TearDown();
    }
    // The windows go as at the program's end: the main window keeps its state in Settings.
    void CloseWindows() {
        settingsForm.reset();
        main.reset();
    }

    void CreateWindows() {
        main = std::make_unique<MainWindow>(guiSettings, messages);
        settingsForm = std::make_unique<SettingsDialog>(guiSettings, messages, [](QWidget*) {});
        settingsForm->setParent(main.get(), settingsForm->windowFlags());
        main->SetSettingsForm(settingsForm.get());
    }
    // The start with a Tralvo.ini that names a connected player: the modules, the windows
    // and the start-up checks, which must pass. Wrap in ASSERT_NO_FATAL_FAILURE.
    void StartMainWindow() {
        Start();
        CreateWindows();
        ASSERT_TRUE(main->StartupCheck(false));
    }

    // The window's parts, found as a user's tools find them: by kind and object name.
    ComputerPane& Computer() const { return Control<ComputerPane>("MyComputerPanel"); }
    PaneListView& FileList() const { return Control<PaneListView>("FilesLB"); }
    PreviewPlayer& Player() const {
        auto* player = main->findChild<PreviewPlayer*>();
        EXPECT_NE(player, nullptr);
        return *player;
    }
    template <typename Widget>
    Widget& Control(const char* name) const {
        auto* widget = main->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    PlayerPane& Pane() const { return Control<PlayerPane>("MyPlayerPanel"); }
    PaneListView* TracksLB() const { return &Control<PaneListView>("TracksLB"); }
    FolderTree* PlayerTree() const { return &Control<FolderTree>("MyPlayerST"); }
    QPushButton* Button(const char* name) const { return &Control<QPushButton>(name); }
    // Clicks the tool or push button of that name, as a user does.
    void Click(const char* name) const { Control<QAbstractButton>(name).click(); }

    // The track list's entries as it shows them.
    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (const TrackEntry& entry : Pane().Tracks()) {
            names.push_back(entry.display);
        }
        return names;
    }

    // The settings the start loads, as the program hands them to its windows.
    GuiSettings guiSettings{Settings};
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<SettingsDialog> settingsForm;
};

// Runs action on the next modal dialog as soon as it is open (the test's hand on it).
inline void OnNextModalDialog(std::function<void(QDialog&)> action, int attempts = 200) {
    QTimer::singleShot(10, [action = std::move(action), attempts]() mutable {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            action(*dialog);
        } else if (attempts > 0) {
            OnNextModalDialog(std::move(action), attempts - 1);
        }
    });
}

} // namespace tralvo::test
