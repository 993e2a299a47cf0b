// tralvo-cli arrange killed with SIGKILL right after its k-th change, for every k of a run on
// /tmp and for a spread of k on a FAT image; then tralvo-cli recover. Every file must be back
// byte for byte under its own name, no temporary folder or name may be left, the image must
// be consistent, and the folder must arrange again. The test build of the tool kills itself
// (kill_switch/); the shipped one cannot.
#include "arrange/run_journal.h"
#include "arrange/track_loading.h"
#include "arrange_test_support.h"
#include "journal_test_support.h"
#include "support/fat_image.h"
#include "support/private_state_folder.h"
#include "support/run_process.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Files = std::map<std::string, std::string>;
using Names = std::vector<std::string>;

// The journals of the tool's runs in this test program, and of nothing else.
const test::PrivateStateFolder stateFolder;

constexpr std::size_t TrackCount = 40;

// The tool, killed after its killAfter-th change when that is above 0.
test::ProcessResult Tool(const std::vector<std::string>& args, int killAfter = 0) {
    if (killAfter > 0) {
        ::setenv("TRALVO_TEST_KILL_AFTER", std::to_string(killAfter).c_str(), 1);
    }
    test::ProcessResult result = test::RunProcess(TRALVO_KILLABLE_CLI_PATH, args);
    ::unsetenv("TRALVO_TEST_KILL_AFTER");
    return result;
}

std::string TrackName(std::size_t i) {
    return "Track " + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + ".mp3";
}

// Tagged with the name without its extension, which a recovery without journal names it by.
std::string TrackContent(std::size_t i) {
    const std::string name = TrackName(i);
    return test::TaggedMp3({.title = name.substr(0, name.size() - 4)}, 1 + i % 3);
}

// The names of count tracks in an order that differs from round to round.
Names OrderOfRound(int round, std::size_t count = TrackCount) {
    Names names;
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(TrackName((i * 7 + static_cast<std::size_t>(round) * 3) % count));
    }
    return names;
}

std::string OrderFile(const test::TempFolder& work, const Names& names) {
    std::string text;
    for (const std::string& name : names) {
        text += name + "\n";
    }
    return work.WriteFile("order", text);
}

// The names shown, second field of each line the tool prints.
Names Shown(const std::string& out) {
    Names names;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        names.push_back(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return names;
}

void ForgetJournals() {
    std::error_code ignored;
    stdfs::remove_all(stateFolder.journals(), ignored);
}

// No temporary folder and no temporary name anywhere in folder.
void ExpectNothingTemporary(const std::string& folder, const std::string& at) {
    for (const auto& entry : stdfs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name == "QZ_TEMP1" || name == "QZ_TEMP2" || IsTemporaryName(name) ||
                     IsCopyName(name))
            << at << ": " << entry.path();
    }
}

// After a recovery without journal, a track that lost its name is named after its title.
void ExpectNamedByTitles(const Files& before, const Files& after, const std::string& at) {
    EXPECT_TRUE(test::Contents(after) == test::Contents(before)) << at;
    std::map<std::string, std::string> titleOf;
    for (std::size_t i = 0; i < TrackCount; ++i) {
        titleOf[TrackContent(i)] = TrackName(i);
    }
    // Or it has the new name the run had given it already.
    for (const auto& [path, content] : after) {
        if (!before.contains(path)) {
            EXPECT_EQ(path.substr(OrderPrefixLength(path)), titleOf[content]) << at;
        }
    }
}

class KillOnTmp : public testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < count; ++i) {
            folder.WriteFile(TrackName(i), TrackContent(i));
        }
        folder.WriteFile("notes.txt", "notes");
        folder.WriteFile(".hidden", "hidden");
        folder.MakeFolder("Extras");
        folder.WriteFile("Extras/readme.txt", "readme");
    }

    // Kills arrange after every change in turn until a run gets to its end; returns how many
    // changes the whole run makes.
    int KillEveryStep(const std::string& type, bool arrangedAfterwards) {
        for (int k = 1;; ++k) {
            const std::string at = "type " + type + ", killed after change " + std::to_string(k);
            const Files before = test::FilesBelow(folder.path());
            const Names order = type == "2" ? ReversedListing(type) : OrderOfRound(k, count);
            const std::string orderFile = OrderFile(work, order);
            const test::ProcessResult killed =
                Tool({"arrange", "--type", type, "--order", orderFile, folder.path()}, k);
            if (killed.exitCode != -1) {
                return k - 1; // the run got to its end
            }
            const bool withJournal = k % 10 != 0;
            if (!withJournal) {
                ForgetJournals();
            }
            const test::ProcessResult recovered = Tool({"recover", folder.path()});
            EXPECT_EQ(recovered.exitCode, 0) << at << "\n" << recovered.out << recovered.err;
            ExpectNothingTemporary(folder.path(), at);
            const Files after = test::FilesBelow(folder.path());
            if (!withJournal && type == "1") {
                ExpectNamedByTitles(before, after, at);
            } else if (type == "1" && recovered.out.empty()) {
                // Killed after its last rename: the run was done and stays so.
                EXPECT_TRUE(test::Contents(after) == test::Contents(before)) << at;
            } else {
                EXPECT_EQ(test::Differences(before, after), Names{}) << at;
            }
            if (arrangedAfterwards) {
                const test::ProcessResult again =
                    Tool({"arrange", "--type", type, "--order", orderFile, folder.path()});
                EXPECT_EQ(again.exitCode, 0) << at << "\n" << again.err;
                EXPECT_EQ(again.err, "") << at;
                EXPECT_EQ(Shown(again.out), order) << at;
            }
        }
    }

    // The folder's list reversed: a creation-time run then makes all but the first track anew.
    Names ReversedListing(const std::string& type) {
        Names names = Shown(Tool({"list", "--type", type, folder.path()}).out);
        std::reverse(names.begin(), names.end());
        return names;
    }

    std::size_t count = TrackCount;
    test::TempFolder folder;
    test::TempFolder work;
};

// On /tmp the entries come back in no particular order, so only the file-name run is arranged
// again; the FAT image below arranges the directory order again. Whether the entries go back
// through "QZ_TEMP2" or straight from "QZ_TEMP1" depends on which one /tmp lists first.
TEST_F(KillOnTmp, DirectoryOrderRunKilledAtEveryStep) {
    const int entries = static_cast<int>(TrackCount) + 3;
    const int changes = KillEveryStep("0", false);
    EXPECT_TRUE(changes == 3 * entries + 4 || changes == 2 * entries + 4) << changes;
}

TEST_F(KillOnTmp, FileNameRunKilledAtEveryStep) {
    EXPECT_EQ(KillEveryStep("1", true), 2 * static_cast<int>(TrackCount));
}

// Creation times on this system: tracks made anew one after another, each a copy, two renames
// and a removal. A few tracks, since each waits for the next step of the clock.
class KillRecreationOnTmp : public KillOnTmp {
protected:
    void SetUp() override {
        count = 6;
        KillOnTmp::SetUp();
    }
};

TEST_F(KillRecreationOnTmp, CreationTimeRunKilledAtEveryStep) {
    EXPECT_EQ(KillEveryStep("2", true), 4 * (static_cast<int>(count) - 1));
}

class KillOnFat : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        ASSERT_TRUE(image.made());
    }

    // A folder of the image (relative to its root), written with mtools before it is mounted.
    // No subfolder: fusefat cannot move one.
    void Fill(const std::string& folder) {
        ASSERT_TRUE(image.MakeFolder(folder));
        test::NamedContents files;
        for (std::size_t i = 0; i < TrackCount; ++i) {
            files.emplace_back(TrackName(i), TrackContent(i));
            if (i == TrackCount / 2) {
                files.emplace_back("Playlist.m3u", "#EXTM3U");
            }
        }
        files.emplace_back("Notes.txt", "notes");
        ASSERT_TRUE(image.Write(folder, files));
    }

    // Kills arrange after change k; recovers (without the journal when forget is set) and
    // arranges again; checks the image itself.
    void KillRound(const std::string& type, const std::string& folder, int k, bool forget) {
        const std::string at = "type " + type + ", killed after change " + std::to_string(k);
        const Files before = test::FilesBelow(folder);
        const Names order = OrderOfRound(k);
        const std::string orderFile = OrderFile(work, order);
        ASSERT_EQ(Tool({"arrange", "--type", type, "--order", orderFile, folder}, k).exitCode, -1)
            << at;
        if (forget) {
            ForgetJournals();
        }
        const test::ProcessResult recovered = Tool({"recover", folder});
        EXPECT_EQ(recovered.exitCode, 0) << at << "\n" << recovered.out << recovered.err;
        const Files after = test::FilesBelow(folder);
        if (forget && type == "1") {
            ExpectNamedByTitles(before, after, at);
        } else if (type == "1" && recovered.out.empty()) {
            // Killed after its last rename: the run was done and stays so.
            EXPECT_TRUE(test::Contents(after) == test::Contents(before)) << at;
        } else {
            EXPECT_EQ(test::Differences(before, after), Names{}) << at;
        }
        ExpectNothingTemporary(folder, at);

        const test::ProcessResult again =
            Tool({"arrange", "--type", type, "--order", orderFile, folder});
        EXPECT_EQ(again.exitCode, 0) << at << "\n" << again.err;
        EXPECT_EQ(Shown(again.out), order) << at;

        ASSERT_TRUE(image.Unmount()) << at;
        const test::ProcessResult check = image.Check();
        EXPECT_EQ(check.exitCode, 0) << at << "\n" << check.out << check.err;
        if (type == "0") {
            Names expected = {"Notes.txt", "Playlist.m3u"};
            Names onDisk =
                image.EntryOrder()["/" + folder.substr(image.mountPoint().size() + 1) + "/"];
            std::sort(onDisk.begin(), onDisk.begin() + 2);
            expected.insert(expected.end(), order.begin(), order.end());
            EXPECT_EQ(onDisk, expected) << at;
        }
        ASSERT_TRUE(image.Mount()) << at;
    }

    test::TempFolder temp;
    test::TempFolder work;
    test::FatImage image{temp};
};

// 42 entries on a folder's first run: out, across and back, three moves each, and two
// folders made and removed: 130 changes. Every phase and the edges between them, each round
// in a folder of its own, so that each is a first run.
TEST_F(KillOnFat, FirstDirectoryOrderRunKilledAcrossTheRun) {
    const std::vector<int> ks = {1,  2,  3,  20, 42, 43, 44,  45,  46,  47, 65,
                                 85, 86, 87, 88, 89, 90, 110, 128, 129, 130};
    for (const int k : ks) {
        ASSERT_NO_FATAL_FAILURE(Fill("RUN" + std::to_string(k)));
    }
    ASSERT_TRUE(image.Mount());
    for (const int k : ks) {
        KillRound("0", image / ("RUN" + std::to_string(k)), k, k == 46 || k == 88);
    }
}

// From the second run on, "QZ_TEMP1" drops into the slot that "QZ_TEMP2" left at the front,
// and the entries come back from it directly: out and back, and two folders made and
// removed: 88 changes.
TEST_F(KillOnFat, LaterDirectoryOrderRunsKilledAcrossTheRun) {
    ASSERT_NO_FATAL_FAILURE(Fill("MUSIC"));
    ASSERT_TRUE(image.Mount());
    const std::string folder = image / "MUSIC";
    std::vector<int> ks = {1, 2, 3, 42, 43, 44, 45, 46, 47, 85, 86, 87, 88};
    for (int k = 10; k < 88; k += 10) {
        ks.push_back(k);
    }
    for (const int k : ks) {
        KillRound("0", folder, k, k == 46 || k == 60);
    }
}

// 80 renames: to the temporary names, then to the new ones.
TEST_F(KillOnFat, FileNameRunKilledAcrossTheRun) {
    ASSERT_NO_FATAL_FAILURE(Fill("MUSIC"));
    ASSERT_TRUE(image.Mount());
    const std::string folder = image / "MUSIC";
    for (const int k : {1, 17, 39, 40, 41, 55, 79, 80}) {
        KillRound("1", folder, k, k == 41 || k == 55);
    }
}

} // namespace
} // namespace tralvo
