// tralvo-cli arrange --playlist and list --m3u8 on real folders. The journals of these runs
// land in cli_test.cpp's private state folder.
#include "cli/cli_run.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::Cli;
using test::ProcessResult;
using test::SortedNames;
using test::TempFolder;
using Names = std::vector<std::string>;

// The names shown, in order.
Names Shown(const std::string& listed) {
    return test::ListedField(listed, 1);
}

// A player folder of file-name order whose tracks carry old prefixes, and UTF-8 names.
class CliPlaylist : public testing::Test {
protected:
    void SetUp() override {
        player = dir.MakeFolder("player");
        for (const std::string name :
             {"{1}a.mp3", "{2}b.mp3", "{3}R\xC3\xA9ve.mp3", "{4}d.ogg", "{5}E.wav"}) {
            test::WriteWholeFile(player + "/" + name, name);
        }
    }

    ProcessResult Arrange(const std::string& playlist, bool dryRun = false) {
        std::vector<std::string> args{"arrange", "--type", "1", "--playlist", playlist};
        if (dryRun) {
            args.push_back("--dry-run");
        }
        args.push_back(player);
        return Cli(args);
    }

    TempFolder dir;
    std::string player;
};

TEST_F(CliPlaylist, AnM3u8InThePlayerFolderArrangesItAndNamesWhatIsMissing) {
    const std::string playlist =
        dir.WriteFile("player/list.m3u8",
                      "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:1,x\r\nR\xC3\xA9ve.mp3\r\n"
                      "gone.mp3\r\n./d.ogg\r\n#EXTINF:-1,y\r\n{1}a.mp3\r\nal\\tso\tgone.mp3\r\n");
    const ProcessResult run = Arrange(playlist);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "Not on the player: gone.mp3\nNot on the player: al/tso\\tgone.mp3\n");
    EXPECT_EQ(Shown(run.out), (Names{"R\\xC3\\xA9ve.mp3", "d.ogg", "a.mp3", "b.mp3", "E.wav"}));
    EXPECT_EQ(SortedNames(player), (Names{"list.m3u8", "{1}R\xC3\xA9ve.mp3", "{2}d.ogg", "{3}a.mp3",
                                          "{4}b.mp3", "{5}E.wav"}));
    EXPECT_EQ(test::ReadFile(player + "/{3}a.mp3"), "{1}a.mp3");
}

// Made on Windows for the same files: drive letters, backslashes, Latin-1, other letter case.
TEST_F(CliPlaylist, ALatin1M3uFromAnotherFolderMatchesByFileName) {
    const std::string playlist =
        dir.WriteFile("music.m3u", "#EXTM3U\r\nC:\\Music\\R\xE9ve.mp3\r\n..\\Music\\E.wav\r\n"
                                   "\\\\server\\share\\b.mp3\r\n");
    const ProcessResult run = Arrange(playlist, true);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Shown(run.out), (Names{"R\\xC3\\xA9ve.mp3", "E.wav", "b.mp3", "a.mp3", "d.ogg"}));
    // A dry run changes nothing.
    EXPECT_EQ(SortedNames(player)[0], "{1}a.mp3");
}

TEST_F(CliPlaylist, PlsAndXspfWithAbsolutePathsAndFileUris) {
    const std::string pls =
        dir.WriteFile("list.pls", "[playlist]\r\nfile3=" + player + "/{1}a.mp3\r\nFile1=" + player +
                                      "/d.ogg\r\nNumberOfEntries=2\r\n");
    ProcessResult run = Arrange(pls, true);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Shown(run.out), (Names{"d.ogg", "a.mp3", "b.mp3", "R\\xC3\\xA9ve.mp3", "E.wav"}));

    const std::string xspf = dir.WriteFile(
        "list.xspf", "<?xml version=\"1.0\"?>\n<playlist xmlns=\"http://xspf.org/ns/0/\">"
                     "<trackList>\n<track><location>file://" +
                         player +
                         "/R%C3%A9ve.mp3</location></track>\n"
                         "<track><location>player/E.wav</location></track>\n"
                         "<track><location>player/b.mp3</location></track>\n"
                         "</trackList></playlist>\n");
    run = Arrange(xspf);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Shown(run.out), (Names{"R\\xC3\\xA9ve.mp3", "E.wav", "b.mp3", "a.mp3", "d.ogg"}));
    EXPECT_EQ(SortedNames(player),
              (Names{"{1}R\xC3\xA9ve.mp3", "{2}E.wav", "{3}b.mp3", "{4}a.mp3", "{5}d.ogg"}));
}

TEST_F(CliPlaylist, ABadPlaylistStopsArrangeBeforeAnythingChanges) {
    const Names before = SortedNames(player);
    for (const auto& [name, content, says] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"empty.m3u", "", "the playlist is empty"},
             {"remarks.m3u8", "#EXTM3U\n#EXTINF:3,x\n", "names no track"},
             {"binary.pls", std::string("[playlist]\nFile1=a\0b", 19), "binary"},
             {"broken.xspf", "<playlist><track><location>a.mp3</track>", "broken XML at line 1"}}) {
        const std::string playlist = dir.WriteFile(name, content);
        const ProcessResult run = Arrange(playlist);
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.out, "") << name;
        EXPECT_EQ(run.err.rfind("Error: " + playlist + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    }
    const ProcessResult missing = Arrange(dir / "nowhere.m3u");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot read the playlist"), std::string::npos) << missing.err;
    EXPECT_EQ(SortedNames(player), before);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"arrange", "--playlist"}, {"arrange", "--shuffle", "--playlist", "x.m3u", "."}}) {
        EXPECT_EQ(Cli(args).exitCode, 2);
    }
}

// An order file naming the shown names in reverse.
std::string ReversedOrder(const TempFolder& dir, const std::string& listed) {
    Names names = Shown(listed);
    std::string text;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        text += *name + "\n";
    }
    return dir.WriteFile("order", text);
}

// What list --m3u8 prints, saved and given to arrange --playlist after another order, gives
// the order back: by the names on disk as they were, order prefixes that changed since
// included.
TEST_F(CliPlaylist, ListM3u8ReadsBackIntoTheSameOrder) {
    // File-name order: directory order cannot be made on the temporary folders here.
    const std::string type = "1";
    const std::string first = ReversedOrder(dir, Cli({"list", "--type", type, player}).out);
    ASSERT_EQ(Cli({"arrange", "--type", type, "--order", first, player}).exitCode, 0);
    const ProcessResult listed = Cli({"list", "--type", type, player});
    const ProcessResult exported = Cli({"list", "--type", type, "--m3u8", player});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.err, "");
    // The names on disk, each after its EXTINF line, in the order the player plays them.
    EXPECT_EQ(exported.out, "#EXTM3U\n#EXTINF:-1,E.wav\n{1}E.wav\n"
                            "#EXTINF:-1,d.ogg\n{2}d.ogg\n"
                            "#EXTINF:-1,R\xC3\xA9ve.mp3\n{3}R\xC3\xA9ve.mp3\n"
                            "#EXTINF:-1,b.mp3\n{4}b.mp3\n#EXTINF:-1,a.mp3\n{5}a.mp3\n");
    const std::string saved = dir.WriteFile("saved.m3u8", exported.out);

    const std::string second = ReversedOrder(dir, listed.out);
    ASSERT_EQ(Cli({"arrange", "--type", type, "--order", second, player}).exitCode, 0);
    ASSERT_NE(Cli({"list", "--type", type, player}).out, listed.out);
    const ProcessResult run = Cli({"arrange", "--type", type, "--playlist", saved, player});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Shown(run.out), Shown(listed.out));
}

} // namespace
} // namespace tralvo
