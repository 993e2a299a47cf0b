// tralvo-cli probe: the order probe written, answered and removed on real folders, with the
// settings and sounds of a program folder of the test's own.
#include "cli/cli_run.h"
#include "platform/ini_file.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using test::Cli;
using test::ProcessResult;
using test::TempFolder;

constexpr std::string_view Catalogue = "[Languages]\nCount=2\n"
                                       "[Language0]\nName=English\nCode=EN\n"
                                       "[Language1]\nName=Deutsch\nCode=DE\n";

// A program folder whose settings speak German, with sounds in English and German that tell
// by their bytes which word and language they are.
struct ProgramFolder {
    ProgramFolder() {
        dir.WriteFile("Tralvo.lng", Catalogue);
        dir.WriteFile("Tralvo.ini", "[Appearance]\nLanguage=1\n");
        for (const char* code : {"en", "de"}) {
            dir.MakeFolder(std::string("probe/") + code);
            for (const char* word : {"one", "two", "three"}) {
                dir.WriteFile(std::string("probe/") + code + "/" + word + ".mp3",
                              std::string(code) + " " + word);
            }
        }
    }
    std::string StoredType() const {
        return IniFile(dir / "Tralvo.ini").ReadString("Player", "Type", "none");
    }
    TempFolder dir;
};

struct Player {
    Player() { dir.WriteFile("Song.mp3", "the user's"); }
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : stdfs::recursive_directory_iterator(dir.path())) {
            if (entry.is_regular_file()) {
                files[stdfs::relative(entry.path(), dir.path()).string()] =
                    test::ReadFile(entry.path().string());
            }
        }
        return files;
    }
    TempFolder dir;
};

TEST(CliProbe, WritesTheTracksInTheSettingsLanguageAndSaysHowToAnswer) {
    const ProgramFolder program;
    const Player player;
    const ProcessResult run = Cli({"probe", "--dir", program.dir.path(), player.dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(player.Files(),
              (std::map<std::string, std::string>{{"Song.mp3", "the user's"},
                                                  {"TRALVO_PROBE/A.MP3", "de two"},
                                                  {"TRALVO_PROBE/B.MP3", "de three"},
                                                  {"TRALVO_PROBE/C.MP3", "de one"}}));
    EXPECT_NE(run.out.find("tralvo-cli probe --heard one|two|three " + player.dir.path()),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(CliProbe, TheWordHeardFirstStoresItsPlayerTypeAndTheProbeGoes) {
    const ProgramFolder program;
    for (const auto& [heard, type] : std::map<std::string, std::string>{
             {"one", "0"}, {"2", "1"}, {"Three", "2"}, {"1", "0"}, {"two", "1"}}) {
        const Player player;
        ASSERT_EQ(Cli({"probe", "--dir", program.dir.path(), player.dir.path()}).exitCode, 0);
        const ProcessResult run =
            Cli({"probe", "--heard", heard, "--dir", program.dir.path(), player.dir.path()});
        ASSERT_EQ(run.exitCode, 0) << heard << ": " << run.err;
        EXPECT_EQ(run.out,
                  "PlayerType=" + type + "\nremoved\t" + player.dir.path() + "/TRALVO_PROBE\n");
        EXPECT_EQ(program.StoredType(), type) << heard;
        EXPECT_EQ(player.Files(), (std::map<std::string, std::string>{{"Song.mp3", "the user's"}}));
    }
}

TEST(CliProbe, RemoveTakesOnlyTheProbe) {
    const ProgramFolder program;
    const Player player;
    ASSERT_EQ(Cli({"probe", "--dir", program.dir.path(), player.dir.path()}).exitCode, 0);
    const ProcessResult run = Cli({"probe", "--remove", player.dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(player.Files(), (std::map<std::string, std::string>{{"Song.mp3", "the user's"}}));
    EXPECT_EQ(program.StoredType(), "none");
    const ProcessResult again = Cli({"probe", "--remove", player.dir.path()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "");
}

TEST(CliProbe, AFolderOfTheProbesNameHoldingOtherFilesIsLeftAloneAndNoTypeIsStored) {
    const ProgramFolder program;
    const Player player;
    player.dir.MakeFolder("TRALVO_PROBE");
    player.dir.WriteFile("TRALVO_PROBE/A.MP3", "the user's A");
    player.dir.WriteFile("TRALVO_PROBE/notes.txt", "the user's notes");
    const auto before = player.Files();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"probe", "--dir", program.dir.path(), player.dir.path()},
          {"probe", "--remove", player.dir.path()}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 1) << args[1];
        EXPECT_TRUE(run.err.starts_with("Error: ")) << run.err;
        EXPECT_NE(run.err.find("notes.txt"), std::string::npos) << run.err;
        EXPECT_EQ(player.Files(), before) << args[1];
    }
}

TEST(CliProbe, WrongArgumentsAreUsageErrors) {
    const Player player;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"probe"},
          {"probe", "--heard", "four", player.dir.path()},
          {"probe", "--heard"},
          {"probe", "--remove", "--heard", "one", player.dir.path()},
          {"probe", "--type", "1", player.dir.path()},
          {"probe", player.dir.path(), player.dir.path()}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(player.Files(), (std::map<std::string, std::string>{{"Song.mp3", "the user's"}}));
}

// The build's own sounds: MP3 files whose title is the word they speak.
TEST(CliProbe, TheBuildsSoundsAreTaggedMp3FilesOfTheirWords) {
    const std::map<std::string, std::array<std::string, 3>> words = {
        {"en", {"one", "two", "three"}},
        {"de", {"eins", "zwei", "drei"}},
        {"fr", {"un", "deux", "trois"}}};
    const std::array<std::string, 3> files = {"one", "two", "three"};
    for (const auto& [code, spoken] : words) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string path =
                std::string(TRALVO_BIN_DIR) + "/probe/" + code + "/" + files[i] + ".mp3";
            ASSERT_TRUE(stdfs::is_regular_file(path)) << path;
            const std::string content = test::ReadFile(path);
            EXPECT_TRUE(content.starts_with("ID3")) << path;
            const std::size_t title = content.find("TIT2");
            ASSERT_NE(title, std::string::npos) << path;
            // Frame header (10 bytes), then the Latin-1 encoding byte and the text.
            EXPECT_EQ(content.substr(title + 11, spoken[i].size()), spoken[i]) << path;
            EXPECT_GT(content.size(), 4000u) << path; // more than a tag: a second of sound
        }
    }
}

} // namespace
} // namespace tralvo
