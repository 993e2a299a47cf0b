// tralvo-cli as a user ends it or meets it: a signal in the middle of a run, a second run on
// the same folder, and a player that comes back at another path after it was pulled out. The
// test build of the tool sends itself SIGTERM after chosen changes (kill_switch/).
#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange_test_support.h"
#include "support/fat_image.h"
#include "support/run_process.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Files = std::map<std::string, std::string>;

// The tool's journals in a folder of the test's own, the variable put back afterwards for the
// other tests of this program.
class OwnStateFolder {
public:
    OwnStateFolder() {
        if (const char* value = std::getenv("XDG_STATE_HOME")) {
            previous_ = value;
        }
        ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
    }
    ~OwnStateFolder() {
        if (previous_) {
            ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
    }
    std::vector<std::string> Journals() const {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : stdfs::directory_iterator(state_ / "tralvo", error)) {
            if (entry.path().extension() == ".journal") {
                found.push_back(entry.path().filename().string());
            }
        }
        return found;
    }

private:
    test::TempFolder state_;
    std::optional<std::string> previous_;
};

// The tool, sending itself SIGTERM after the changes named in signals ("3" or "3,4").
test::ProcessResult Tool(const std::vector<std::string>& args, const std::string& signals = {},
                         int killAfter = 0) {
    if (!signals.empty()) {
        ::setenv("TRALVO_TEST_SIGNAL_AFTER", signals.c_str(), 1);
    }
    if (killAfter > 0) {
        ::setenv("TRALVO_TEST_KILL_AFTER", std::to_string(killAfter).c_str(), 1);
    }
    test::ProcessResult result = test::RunProcess(TRALVO_KILLABLE_CLI_PATH, args);
    ::unsetenv("TRALVO_TEST_SIGNAL_AFTER");
    ::unsetenv("TRALVO_TEST_KILL_AFTER");
    return result;
}

constexpr const char* Stopped = "stopped before it had finished";

class StopAndLock : public testing::Test {
protected:
    // Tracks whose titles name none of them, so that only the journal gives the names back.
    void Fill(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            folder.WriteFile(Name(i),
                             test::TaggedMp3({.title = "Title " + std::to_string(i)}, 1 + i % 3));
        }
        folder.WriteFile("Notes.txt", "notes");
    }
    static std::string Name(std::size_t i) {
        return "Song " + std::string(1, char('A' + i)) + ".mp3";
    }

    // The folder's tracks in reverse order, for --order.
    std::string ReversedOrder(std::size_t count) {
        std::string text;
        for (std::size_t i = count; i-- > 0;) {
            text += Name(i) + "\n";
        }
        return work.WriteFile("order", text);
    }
    test::ProcessResult Arrange(const std::string& type, std::size_t count,
                                const std::string& signals = {}) {
        return Tool({"arrange", "--type", type, "--order", ReversedOrder(count), folder.path()},
                    signals);
    }

    OwnStateFolder state;
    test::TempFolder folder;
    test::TempFolder work;
};

// The first signal stops the run at its next step and puts the folder back; a file-name run
// in its second pass is nearer its end and finishes. Either way the tool says what it did and
// fails, and leaves nothing to recover.
TEST_F(StopAndLock, ASignalStopsTheRunAndPutsTheFolderBack) {
    constexpr std::size_t count = 8;
    Fill(count);
    const Files before = test::FilesBelow(folder.path());
    // Type, signal after change, whether the run is put back (else it finishes).
    const std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {"1", "3", true}, {"1", "8", true},  {"1", "10", false}, {"0", "1", true},
        {"0", "5", true}, {"0", "14", true}, {"0", "16", true},  {"2", "4", true},
    };
    for (const auto& [type, signal, putBack] : cases) {
        const std::string at = "type " + type + ", signal after change " + signal;
        const test::ProcessResult run = Arrange(type, count, signal);
        EXPECT_EQ(run.exitCode, 1) << at << "\n" << run.err;
        const Files after = test::FilesBelow(folder.path());
        if (putBack) {
            EXPECT_NE(run.err.find(Stopped), std::string::npos) << at << "\n" << run.err;
            EXPECT_EQ(test::Contents(after), test::Contents(before)) << at;
            if (type != "2") {
                EXPECT_EQ(test::Differences(before, after), std::vector<std::string>{}) << at;
            }
        } else {
            EXPECT_NE(run.err.find("had made all its changes"), std::string::npos) << at;
            EXPECT_TRUE(after.contains("{1}" + Name(count - 1))) << at;
        }
        const test::ProcessResult list = Tool({"list", "--type", type, folder.path()});
        EXPECT_EQ(list.err, "") << at;
        // Put back into its old names, the file-name folder is the same for the next case.
        if (!putBack) {
            EXPECT_EQ(Tool({"undo", folder.path()}).exitCode, 0) << at;
        }
    }
}

// A second signal ends the tool at once, even while it puts the folder back; recover does the
// rest.
TEST_F(StopAndLock, ASecondSignalEndsTheToolAndRecoverStillWorks) {
    constexpr std::size_t count = 6;
    Fill(count);
    const Files before = test::FilesBelow(folder.path());
    const test::ProcessResult run = Arrange("1", count, "3,4");
    EXPECT_EQ(run.exitCode, -1) << run.err; // ended by the signal
    EXPECT_NE(Tool({"list", "--type", "1", folder.path()}).err.find("Note:"), std::string::npos);
    const test::ProcessResult recovered = Tool({"recover", folder.path()});
    EXPECT_EQ(recovered.exitCode, 0) << recovered.out << recovered.err;
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_EQ(state.Journals(), std::vector<std::string>{});
}

// While one process changes a folder, another refuses to, and says why; listing goes on.
TEST_F(StopAndLock, ASecondRunOnTheSameFolderRefusesWhileTheFirstHoldsIt) {
    constexpr std::size_t count = 4;
    Fill(count);
    const Files before = test::FilesBelow(folder.path());
    StateFolderJournals journals; // the tool's own place, from XDG_STATE_HOME
    {
        FolderLock held;
        ASSERT_TRUE(journals.Lock(folder.path() + "/", held));
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"arrange", "--type", "1", "--order", ReversedOrder(count),
                                       folder.path()},
              {"recover", folder.path()},
              {"undo", folder.path()}}) {
            const test::ProcessResult refused = Tool(args);
            EXPECT_EQ(refused.exitCode, 1) << args[0];
            EXPECT_NE(refused.err.find("Another Tralvo run is changing"), std::string::npos)
                << args[0] << "\n"
                << refused.err;
        }
        EXPECT_EQ(test::FilesBelow(folder.path()), before);
        // What a run leaves in the folder while it goes on is no interrupted run's.
        folder.MakeFolder("QZ_TEMP1");
        const test::ProcessResult list = Tool({"list", "--type", "1", folder.path()});
        EXPECT_EQ(list.exitCode, 0) << list.err;
        EXPECT_NE(list.err.find("another Tralvo run is changing"), std::string::npos) << list.err;
        EXPECT_EQ(list.err.find("interrupted"), std::string::npos) << list.err;
        stdfs::remove(folder / "QZ_TEMP1");
    }
    const test::ProcessResult arranged = Arrange("1", count);
    EXPECT_EQ(arranged.exitCode, 0) << arranged.err;
    EXPECT_TRUE(stdfs::exists(folder / ("{1}" + Name(count - 1))));
}

// A player pulled out mid-run and mounted again at another path: the journal is found by the
// volume, and the tracks get their own names back rather than names made from their titles.
TEST(Remount, RecoverFindsTheJournalOfAPlayerMountedElsewhere) {
    if (const std::string why = test::FuseUnavailable(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    OwnStateFolder state;
    test::TempFolder temp;
    test::TempFolder work;
    test::FatImage image(temp);
    constexpr std::size_t count = 6;
    test::NamedContents files;
    std::string order;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "Track " + std::string(1, char('A' + i)) + ".mp3";
        files.emplace_back(name, test::TaggedMp3({.title = "T" + std::to_string(i)}, 1 + i % 3));
        order = name + "\n" + order;
    }
    ASSERT_TRUE(image.MakeFolder("Music"));
    ASSERT_TRUE(image.Write("Music", files));
    const std::string orderFile = work.WriteFile("order", order);
    // File names killed in either pass, directory order killed on its way out.
    for (const auto& [type, killAfter] :
         {std::pair{"1", 3}, std::pair{"1", 8}, std::pair{"0", 4}}) {
        const std::string at =
            std::string("type ") + type + ", killed after " + std::to_string(killAfter);
        ASSERT_TRUE(image.Mount()) << at;
        const Files before = test::FilesBelow(image / "Music");
        const test::ProcessResult killed =
            Tool({"arrange", "--type", type, "--order", orderFile, image / "Music"}, {}, killAfter);
        ASSERT_EQ(killed.exitCode, -1) << at;
        ASSERT_TRUE(image.Unmount()) << at;
        image.MoveMountPoint();
        ASSERT_TRUE(image.Mount()) << at;
        const test::ProcessResult recovered = Tool({"recover", image / "Music"});
        EXPECT_EQ(recovered.exitCode, 0) << at << "\n" << recovered.out << recovered.err;
        EXPECT_EQ(test::FilesBelow(image / "Music"), before) << at << "\n" << recovered.out;
        EXPECT_EQ(state.Journals(), std::vector<std::string>{}) << at;
        ASSERT_TRUE(image.Unmount()) << at;
        EXPECT_EQ(image.Check().exitCode, 0) << at;
    }
}

} // namespace
} // namespace tralvo
