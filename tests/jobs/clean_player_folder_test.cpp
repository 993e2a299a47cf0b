// The player pane's clean command as the user meets it: one question with the names and the
// total size, a box for each entry that stays, and the status line's note.
#include "i18n/language_catalogue.h"
#include "jobs/clean_player_folder.h"
#include "support/apple_double_file.h"
#include "support/forwarding_file_system.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;

TEST(CleanTexts, EveryLanguageHasThemWithRoomForTheirArguments) {
    LanguageCatalogue catalogue;
    catalogue.Open(std::string(TRALVO_BIN_DIR) + "/Tralvo.lng");
    ASSERT_GT(catalogue.LanguageCount(), 1);
    const std::vector<std::pair<std::string, std::vector<std::string>>> texts = {
        {"CleanFolder", {"%0", "%1"}}, {"CleanFolderTitle", {}}, {"CleanError", {"%0"}},
        {"CleanChanged", {"%0"}},      {"NoJunk", {}},           {"JunkNote", {}},
        {"MoreJunk", {"%0"}}};
    for (std::int32_t language = 0; language < catalogue.LanguageCount(); ++language) {
        catalogue.SetCurrentLanguage(language);
        for (const auto& [key, arguments] : texts) {
            ASSERT_TRUE(catalogue.HasString(language, key)) << key << " " << language;
            for (const std::string& argument : arguments) {
                EXPECT_NE(catalogue.String(key).find(argument), std::string::npos)
                    << key << " " << language;
            }
        }
    }
}

// Fails the removal of every file of the given name.
class RefusingRemoval : public test::ForwardingFileSystem {
public:
    Status RemoveFile(const std::string& path) override {
        if (path.ends_with("/.DS_Store")) {
            return Status::Failure(EACCES, "remove " + path + ": Permission denied");
        }
        return ForwardingFileSystem::RemoveFile(path);
    }
};

class CleanPlayerFolderTest : public testing::Test {
protected:
    void SetUp() override {
        Catalogue().Open(folder.WriteFile(
            "Tralvo.lng", "[Languages]\nCount=1\n[Language0-Strings]\nError=Oops\n"
                          "CleanFolderTitle=Junk\nCleanFolder=Remove (%1 KB):\\n%0\n"
                          "CleanError=Cannot remove %0\nCleanChanged=Changed %0\n"
                          "NoJunk=None here\nJunkNote=Junk here\nMoreJunk=and %0 more\n"));
        player = folder.MakeFolder("player");
        folder.WriteFile("player/Song.mp3", "ID3");
    }
    void TearDown() override { Catalogue().Close(); }

    test::TempFolder folder;
    std::string player;
    test::ScriptedMessages messages;
};

TEST_F(CleanPlayerFolderTest, AsksOnceWithNamesAndSizeAndRemovesOnlyOnYes) {
    folder.WriteFile("player/.DS_Store", std::string(1500, 'x'));
    folder.WriteFile("player/._%1.mp3", test::AppleDoubleContent()); // a name holding "%1"
    EXPECT_EQ(jobs::JunkNote(player, SystemFileSystem()), "Junk here");
    messages.answers = {MessageAnswer::No};
    EXPECT_FALSE(jobs::CleanPlayerFolder(player, SystemFileSystem(), messages, "MainForm"));
    ASSERT_EQ(messages.asked.size(), 1U);
    const MessageRequest& question = messages.asked[0];
    EXPECT_EQ(question.textKey, "CleanFolder");
    EXPECT_EQ(question.caption, "Junk");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.parent, "MainForm");
    // 1,500 bytes and a companion's few dozen: 2 KB, rounded up.
    EXPECT_TRUE(question.text.starts_with("Remove (2 KB):")) << question.text;
    EXPECT_NE(question.text.find(".DS_Store"), std::string::npos);
    EXPECT_NE(question.text.find("._%1.mp3"), std::string::npos);
    EXPECT_TRUE(stdfs::exists(folder / "player/.DS_Store"));

    EXPECT_TRUE(jobs::CleanPlayerFolder(player, SystemFileSystem(), messages, "MainForm"));
    EXPECT_FALSE(stdfs::exists(folder / "player/.DS_Store"));
    EXPECT_FALSE(stdfs::exists(folder / "player/._%1.mp3"));
    EXPECT_TRUE(stdfs::exists(folder / "player/Song.mp3"));
    EXPECT_EQ(jobs::JunkNote(player, SystemFileSystem()), "");

    messages.asked.clear();
    EXPECT_FALSE(jobs::CleanPlayerFolder(player, SystemFileSystem(), messages, "MainForm"));
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"NoJunk"});
}

TEST_F(CleanPlayerFolderTest, ALongListNamesTheFirstTenAndCountsTheRest) {
    for (int i = 0; i < 12; ++i) {
        folder.WriteFile("player/._" + std::to_string(i) + ".mp3", test::AppleDoubleContent());
    }
    messages.answers = {MessageAnswer::No};
    jobs::CleanPlayerFolder(player, SystemFileSystem(), messages, "MainForm");
    ASSERT_EQ(messages.asked.size(), 1U);
    const std::string& names = messages.asked[0].argument;
    EXPECT_EQ(std::count(names.begin(), names.end(), '\n'), 10) << names;
    EXPECT_TRUE(names.ends_with("\nand 2 more")) << names;
}

TEST_F(CleanPlayerFolderTest, EachEntryThatStaysGetsAnErrorBoxWithTheReason) {
    folder.WriteFile("player/.DS_Store", "x");
    folder.MakeFolder("player/.fseventsd");
    RefusingRemoval fs;
    EXPECT_TRUE(jobs::CleanPlayerFolder(player, fs, messages, "MainForm"));
    ASSERT_EQ(messages.TextKeys(), (std::vector<std::string>{"CleanFolder", "CleanError"}));
    const MessageRequest& error = messages.asked[1];
    EXPECT_EQ(error.text, "Cannot remove .DS_Store");
    EXPECT_EQ(error.icon, MessageIcon::Error);
    EXPECT_NE(error.reason.find("Permission denied"), std::string::npos);
    EXPECT_FALSE(stdfs::exists(folder / "player/.fseventsd"));
}

} // namespace
} // namespace tralvo
