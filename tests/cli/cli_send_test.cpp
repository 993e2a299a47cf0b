// tralvo-cli send on real folders: a playlist's files copied to a player folder, which then takes
// the playlist's order. The journals land in cli_test.cpp's private state folder.
#include "cli/cli_run.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tralvo {
namespace {

using test::Cli;
using test::ProcessResult;
using test::SortedNames;
using test::TempFolder;
using Names = std::vector<std::string>;

// The names on disk, in the player's order.
Names OnDisk(const std::string& listed) {
    Names names = test::ListedField(listed, 2);
    for (std::string& name : names) {
        name = name.substr(name.rfind('/') + 1);
    }
    return names;
}

// A computer folder with an album in a subfolder, and a player folder holding two tracks.
class CliSend : public testing::Test {
protected:
    void SetUp() override {
        player = dir.MakeFolder("player");
        dir.MakeFolder("music");
        dir.MakeFolder("music/album");
        dir.WriteFile("player/old1.mp3", "old one");
        dir.WriteFile("player/old2.mp3", "old two");
        dir.WriteFile("music/album/a.mp3", "track a");
        dir.WriteFile("music/album/b.mp3", "track b");
        dir.WriteFile("music/c.mp3", "track c");
    }

    ProcessResult Send(const std::string& playlist, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"send", "--type", "1"};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(playlist);
        args.push_back(player);
        return Cli(args);
    }

    TempFolder dir;
    std::string player;
};

TEST_F(CliSend, CopiesWhatThePlaylistNamesAndArrangesThePlayerInItsOrder) {
    const std::string playlist =
        dir.WriteFile("music/list.m3u8", "#EXTM3U\nalbum/b.mp3\n" + dir.path() +
                                             "/music/c.mp3\n../player/old2.mp3\nalbum/a.mp3\n");
    const ProcessResult run = Send(playlist);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(OnDisk(run.out),
              (Names{"{1}b.mp3", "{2}c.mp3", "{3}old2.mp3", "{4}a.mp3", "{5}old1.mp3"}));
    EXPECT_EQ(test::ReadFile(player + "/{1}b.mp3"), "track b");
    EXPECT_EQ(test::ReadFile(player + "/{4}a.mp3"), "track a");
    // The sources stay, the playlist is not sent.
    EXPECT_EQ(SortedNames(dir / "music"), (Names{"album", "c.mp3", "list.m3u8"}));

    // Sent again, the tracks are there under their order prefixes: nothing is copied twice.
    const Names sent = SortedNames(player);
    const ProcessResult again = Send(playlist);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(SortedNames(player), sent);
}

TEST_F(CliSend, NamesEachMissingFileAndSendsTheRest) {
    ASSERT_EQ(::mkfifo((dir / "music/pipe.mp3").c_str(), 0600), 0);
    const std::string playlist = dir.WriteFile(
        "music/list.m3u", "gone.mp3\nalbum/a.mp3\npipe.mp3\nalbum/\nno/where/b.mp3\n");
    const ProcessResult run = Send(playlist);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Missing: gone.mp3\nMissing: pipe.mp3\nMissing: album/\n"
                       "Missing: no/where/b.mp3\n");
    EXPECT_EQ(OnDisk(run.out), (Names{"{1}a.mp3", "{2}old1.mp3", "{3}old2.mp3"}));
    EXPECT_EQ(SortedNames(player), (Names{"{1}a.mp3", "{2}old1.mp3", "{3}old2.mp3"}));
}

TEST_F(CliSend, AFileWithTheSameBytesIsThereAlreadyAndIsNotCopiedAgain) {
    dir.WriteFile("player/a.mp3", "track a");
    struct stat before {};
    ASSERT_EQ(::stat((player + "/a.mp3").c_str(), &before), 0);
    const std::string playlist =
        dir.WriteFile("music/list.pls", "[playlist]\nFile1=c.mp3\n"
                                        "File2=album/a.mp3\nFile3=c.mp3\n");
    const ProcessResult run = Send(playlist);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(OnDisk(run.out), (Names{"{1}c.mp3", "{2}a.mp3", "{3}old1.mp3", "{4}old2.mp3"}));
    struct stat after {};
    ASSERT_EQ(::stat((player + "/{2}a.mp3").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(CliSend, ADifferentFileOfTheSameNameStopsItBeforeAnythingIsCopied) {
    dir.WriteFile("player/a.mp3", "another a");
    dir.WriteFile("music/old1.mp3", "other old one");
    const Names before = SortedNames(player);
    for (const std::string& list : {std::string("c.mp3\nalbum/a.mp3\n"),
                                    std::string("c.mp3\n../player/../music/old1.mp3\n")}) {
        const std::string playlist = dir.WriteFile("music/list.m3u", list);
        const ProcessResult run = Send(playlist);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("Error: " + player + "/"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(SortedNames(player), before);
    }
    EXPECT_EQ(test::ReadFile(player + "/a.mp3"), "another a");
}

TEST_F(CliSend, TwoFilesOfOneNameInThePlaylistClash) {
    dir.WriteFile("music/a.mp3", "another a");
    const std::string playlist = dir.WriteFile("music/list.m3u", "album/a.mp3\na.mp3\n");
    const ProcessResult run = Send(playlist);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error: " + player + "/a.mp3: another file of this name is in the folder\n");
    EXPECT_EQ(SortedNames(player), (Names{"old1.mp3", "old2.mp3"}));
}

// The tool's own memory reads as a file whose bytes fail at its start.
TEST_F(CliSend, ACopyThatFailsLeavesNothingBehindAndTheRestGoesOn) {
    const std::string playlist = dir.WriteFile("music/list.m3u", "/proc/self/mem\nalbum/a.mp3\n");
    const ProcessResult run = Send(playlist);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("Error: read /proc/self/mem: ", 0), 0u) << run.err;
    EXPECT_EQ(OnDisk(run.out), (Names{"{1}a.mp3", "{2}old1.mp3", "{3}old2.mp3"}));
    EXPECT_EQ(SortedNames(player), (Names{"{1}a.mp3", "{2}old1.mp3", "{3}old2.mp3"}));
}

TEST_F(CliSend, ADryRunSaysWhatItWouldCopyAndChangesNothing) {
    const std::string playlist = dir.WriteFile("music/list.m3u", "album/b.mp3\ngone.mp3\n");
    const ProcessResult run = Send(playlist, {"--dry-run"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Missing: gone.mp3\n");
    EXPECT_EQ(run.out, "copy\t" + dir.path() + "/music/album/b.mp3\tb.mp3\n");
    EXPECT_EQ(SortedNames(player), (Names{"old1.mp3", "old2.mp3"}));
}

TEST_F(CliSend, WrongArgumentsAreUsageErrorsAndABadPlaylistStopsIt) {
    const std::string playlist = dir.WriteFile("music/list.m3u", "c.mp3\n");
    EXPECT_EQ(Cli({"send", playlist}).exitCode, 2);
    EXPECT_EQ(Cli({"send", playlist, player, player}).exitCode, 2);
    EXPECT_EQ(Cli({"send", "--shuffle", playlist, player}).exitCode, 2);
    EXPECT_EQ(Cli({"send", "--type", "7", playlist, player}).exitCode, 2);

    const std::string empty = dir.WriteFile("music/empty.m3u", "#EXTM3U\n");
    ProcessResult run = Cli({"send", empty, player});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("Error: " + empty + ": ", 0), 0u) << run.err;
    run = Cli({"send", playlist, dir / "nowhere"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(SortedNames(player), (Names{"old1.mp3", "old2.mp3"}));
}

} // namespace
} // namespace tralvo
