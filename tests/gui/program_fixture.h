#pragma once

#include "app/language_catalogue.h"
#include "app/program_folder.h"
#include "app/settings_store.h"
#include "app/termination.h"
#include "playback/module_loader.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tralvo::test {

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
        Settings = TConfig{};
        ResetTermination();
    }

    // The module start steps, after the test has written what Tralvo.ini it wants.
    void Start() {
        OpenLanguageCatalogue();
        LoadSettings();
    }

    TempFolder folder;
    ScriptedMessages messages;
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
