// tralvo-cli clean, and the notes of list and arrange, run on real folders.
#include "cli/cli_run.h"
#include "media/writers/id3v2_writer.h"
#include "support/apple_double_file.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using test::Cli;
using test::ProcessResult;
using Lines = std::vector<std::string>;

Lines SortedLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A player folder with a track, a ._ file of real audio, and junk: a companion whose name
// needs escaping, .DS_Store and .Trashes with a file in a subfolder.
struct JunkyFolder {
    JunkyFolder() {
        dir.WriteFile("Song.mp3", test::AsString(test::Mp3File({}, 1)));
        dir.WriteFile("._Live.mp3", test::AsString(test::Mp3File({}, 2)));
        dir.WriteFile("._Tab\there.mp3", test::AppleDoubleContent());
        dir.WriteFile(".DS_Store", "123456");
        dir.MakeFolder(".Trashes");
        dir.MakeFolder(".Trashes/501");
        dir.WriteFile(".Trashes/501/old.mp3", "12345");
    }
    test::TempFolder dir;
    const std::string companionSize = std::to_string(test::AppleDoubleContent().size());
    const std::string total = std::to_string(test::AppleDoubleContent().size() + 6 + 5);
};

TEST(CliClean, DryRunPrintsEachEntryWithItsSizeAndTheTotalAndRemovesNothing) {
    const JunkyFolder f;
    const ProcessResult run = Cli({"clean", "--dry-run", f.dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with("total\t" + f.total + "\n")) << run.out;
    EXPECT_EQ(SortedLines(run.out),
              (Lines{".DS_Store\t6", ".Trashes\t5", "._Tab\\there.mp3\t" + f.companionSize,
                     "total\t" + f.total}));
    EXPECT_EQ(run.err, "");
    for (const char* name : {"._Tab\there.mp3", ".DS_Store", ".Trashes/501/old.mp3"}) {
        EXPECT_TRUE(stdfs::exists(f.dir / name)) << name;
    }
}

TEST(CliClean, RemovesTheEntriesSaysSoAndFindsNothingTheSecondTime) {
    const JunkyFolder f;
    const ProcessResult run = Cli({"clean", f.dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(SortedLines(run.out),
              (Lines{".DS_Store\t6", ".Trashes\t5", "._Tab\\there.mp3\t" + f.companionSize,
                     "removed\t.DS_Store", "removed\t.Trashes", "removed\t._Tab\\there.mp3",
                     "total\t" + f.total}));
    Lines left;
    for (const auto& entry : stdfs::directory_iterator(f.dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Lines{"._Live.mp3", "Song.mp3"}));

    const ProcessResult again = Cli({"clean", f.dir.path()});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "total\t0\n");
}

TEST(CliClean, AnEntryThatCannotBeRemovedIsKeptWithItsReasonAndExitsOne) {
    const JunkyFolder f;
    const test::ReadOnlyFolder readOnly(f.dir / ".Trashes/501");
    if (!readOnly.active()) {
        GTEST_SKIP() << "this system cannot make a folder read-only";
    }
    const ProcessResult run = Cli({"clean", f.dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("removed\t.DS_Store\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("kept\t.Trashes\tcannot be removed: "), std::string::npos) << run.out;
    EXPECT_TRUE(stdfs::exists(f.dir / ".Trashes/501/old.mp3"));
}

TEST(CliClean, ListAndArrangeNoteJunkOnlyWhereThereIsSome) {
    const JunkyFolder f;
    const std::string note = "Note: " + f.dir.path() +
                             " holds files computers leave behind (such as ._ companions or "
                             ".DS_Store); \"tralvo-cli clean " +
                             f.dir.path() + "\" removes them\n";
    const ProcessResult list = Cli({"list", f.dir.path()});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.err, note);
    EXPECT_EQ(SortedLines(list.out).size(), 2U) << list.out; // Song.mp3 and ._Live.mp3
    const ProcessResult arrange = Cli({"arrange", "--shuffle", "--dry-run", f.dir.path()});
    EXPECT_EQ(arrange.exitCode, 0);
    EXPECT_EQ(arrange.err, note);

    ASSERT_EQ(Cli({"clean", f.dir.path()}).exitCode, 0);
    EXPECT_EQ(Cli({"list", f.dir.path()}).err, "");
}

TEST(CliClean, BadArgumentsAreUsageErrorsAndAMissingFolderFails) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"clean"}, {"clean", "a", "b"}, {"clean", "--bogus", "."}, {"clean", "--dry-run"}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    const test::TempFolder dir;
    EXPECT_EQ(Cli({"clean", dir / "missing"}).exitCode, 1);
}

} // namespace
} // namespace tralvo
