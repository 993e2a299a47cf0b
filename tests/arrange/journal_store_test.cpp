// The state folder's journals as several processes and several mounts meet them: the lock that
// keeps two processes from changing one folder, and the journal of a player found again when
// it comes back mounted at another path.
#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "support/fat_image.h"
#include "support/fuse_fat_mount.h"
#include "support/named_pipe.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;

// Another process that takes and lets go of a folder's lock when told. It is forked before
// this process takes the lock, so that it inherits none of the lock files held here.
class OtherProcess {
public:
    enum class Answer { Locked, Busy, Failed, Released, Gone };

    OtherProcess(const std::string& stateFolder, const std::string& folder) {
        int commands[2];
        int answers[2];
        if (::pipe2(commands, O_CLOEXEC) != 0 || ::pipe2(answers, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        child_ = ::fork();
        if (child_ == 0) {
            ::close(commands[1]);
            ::close(answers[0]);
            Serve(commands[0], answers[1], stateFolder, folder);
        }
        ::close(commands[0]);
        ::close(answers[1]);
        commands_ = commands[1];
        answers_ = answers[0];
        EXPECT_GT(child_, 0) << "fork";
    }
    ~OtherProcess() {
        ::close(commands_);
        ::close(answers_);
        Kill();
    }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    Answer Lock() { return Ask('l'); }
    Answer Release() { return Ask('r'); }
    // Ends it with nothing let go on its way out.
    void Kill() {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
            child_ = -1;
        }
    }

private:
    [[noreturn]] static void Serve(int in, int out, const std::string& stateFolder,
                                   const std::string& folder) {
        StateFolderJournals journals(stateFolder);
        FolderLock held;
        char command = 0;
        while (::read(in, &command, 1) == 1) {
            char answer = 'r';
            if (command == 'l') {
                const Status locked = journals.Lock(folder, held);
                answer = locked ? 'l' : locked.code() == EWOULDBLOCK ? 'b' : 'f';
            } else {
                held.Reset();
            }
            if (::write(out, &answer, 1) != 1) {
                break;
            }
        }
        ::_exit(0); // nothing of the test program's own may run here
    }

    Answer Ask(char command) {
        char answer = 0;
        if (::write(commands_, &command, 1) != 1 || ::read(answers_, &answer, 1) != 1) {
            return Answer::Gone;
        }
        switch (answer) {
        case 'l':
            return Answer::Locked;
        case 'b':
            return Answer::Busy;
        case 'r':
            return Answer::Released;
        default:
            return Answer::Failed;
        }
    }

    pid_t child_ = -1;
    int commands_ = -1;
    int answers_ = -1;
};

using Answer = OtherProcess::Answer;

class FolderLockTest : public testing::Test {
protected:
    test::TempFolder temp;
    const std::string state = temp / "state/tralvo";
    const std::string folder = temp.MakeFolder("Music") + "/";
    const test::HangGuard guard{60};
};

TEST_F(FolderLockTest, IsTakenAgainWithinTheProcessButRefusedToAnotherUntilTheLastHolderLetsGo) {
    OtherProcess other(state, folder);
    StateFolderJournals journals(state);
    FolderLock first;
    ASSERT_TRUE(journals.Lock(folder, first));
    EXPECT_TRUE(stdfs::is_directory(state)); // made on the way, as for a journal
    // An undo runs an arrange of its own on the same folder.
    FolderLock second;
    const Status again = StateFolderJournals(state).Lock(folder, second);
    EXPECT_TRUE(again) << again.message();

    EXPECT_EQ(other.Lock(), Answer::Busy);
    first.Reset();
    EXPECT_EQ(other.Lock(), Answer::Busy) << "let go while the second holder still holds it";
    {
        const FolderLock moved(std::move(second));
        second.Reset(); // moved from: holds nothing to let go of
        EXPECT_EQ(other.Lock(), Answer::Busy) << "let go by the lock it was moved from";
    }
    EXPECT_EQ(other.Lock(), Answer::Locked);

    FolderLock refused;
    const Status busy = journals.Lock(folder, refused);
    EXPECT_FALSE(busy);
    EXPECT_EQ(busy.code(), EWOULDBLOCK) << busy.message();
    // Every folder has a lock of its own.
    FolderLock elsewhere;
    EXPECT_TRUE(journals.Lock(temp.MakeFolder("Other") + "/", elsewhere));

    EXPECT_EQ(other.Release(), Answer::Released);
    FolderLock after;
    EXPECT_TRUE(journals.Lock(folder, after));
}

TEST_F(FolderLockTest, ALockHeldByAProcessThatIsKilledIsFree) {
    OtherProcess other(state, folder);
    ASSERT_EQ(other.Lock(), Answer::Locked);
    StateFolderJournals journals(state);
    FolderLock held;
    EXPECT_EQ(journals.Lock(folder, held).code(), EWOULDBLOCK);
    other.Kill();
    EXPECT_TRUE(journals.Lock(folder, held));
}

TEST_F(FolderLockTest, TheLockFileIsNoJournal) {
    StateFolderJournals journals(state);
    {
        FolderLock held;
        ASSERT_TRUE(journals.Lock(folder, held));
    }
    std::string text;
    EXPECT_EQ(journals.Read(folder, text).code(), ENOENT);
    RunJournal journal;
    EXPECT_EQ(ReadJournalOf(folder, journals, journal).code(), ENOENT);
}

RunJournal JournalFor(const std::string& folder, const FolderKey& key = {}) {
    RunJournal journal;
    journal.folder = folder;
    journal.volume = key.volume;
    journal.belowRoot = key.belowRoot;
    journal.strategy = PlayerType::FileNames;
    journal.state = JournalState::SecondPass;
    journal.before = {"B", "A"};
    journal.arranged = {{"A", "A.mp3", 1234, ContentId{false, 5, 0x1234}},
                        {"B", "B.mp3", std::nullopt, std::nullopt}};
    journal.renames = {{"A.mp3", "0.qz_temp", "{1}A.mp3", true},
                       {"B.mp3", "1.qz_temp", "{2}B.mp3", false}};
    return journal;
}

TEST(ReadJournalOf, TakesOnlyAJournalOfThisFolder) {
    test::TempFolder temp;
    StateFolderJournals journals(temp / "state");
    const std::string folder = temp.MakeFolder("Music") + "/";
    RunJournal journal;
    EXPECT_EQ(ReadJournalOf(folder, journals, journal).code(), ENOENT) << "no journal";

    ASSERT_TRUE(journals.Write(folder, FormatJournal(JournalFor(folder))));
    ASSERT_TRUE(ReadJournalOf(folder, journals, journal));
    EXPECT_EQ(FormatJournal(journal), FormatJournal(JournalFor(folder)));

    const std::string cut = FormatJournal(JournalFor(folder));
    ASSERT_TRUE(journals.Write(folder, cut.substr(0, cut.size() / 2)));
    const Status cutShort = ReadJournalOf(folder, journals, journal);
    EXPECT_EQ(cutShort.code(), GarbledJournalCode) << "cut short";
    EXPECT_NE(cutShort.message().find(journals.PathOf(folder)), std::string::npos);

    // Another folder's journal filed under this one, with no volume to tie the two together,
    // or with a volume this folder is not on.
    ASSERT_TRUE(journals.Write(folder, FormatJournal(JournalFor(temp / "Other/"))));
    EXPECT_EQ(ReadJournalOf(folder, journals, journal).code(), GarbledJournalCode)
        << "another folder's";
    ASSERT_TRUE(journals.Write(
        folder, FormatJournal(JournalFor(temp / "Other/", {"0000-0001", "/Music/"}))));
    EXPECT_EQ(ReadJournalOf(folder, journals, journal).code(), GarbledJournalCode)
        << "another volume's";
    // A failed read leaves what the caller held.
    EXPECT_EQ(FormatJournal(journal), FormatJournal(JournalFor(folder)));
}

// A store that cannot be read is no garbled journal: nothing tells of a run cut off there.
TEST(ReadJournalOf, PassesOnTheStoresOwnReadFailure) {
    struct Unreadable : JournalStore {
        std::string PathOf(const std::string& folder) override { return folder + "journal"; }
        Status Write(const std::string&, const std::string&) override { return Status::Ok(); }
        Status Read(const std::string& folder, std::string&) override {
            return Status::Failure(EIO, "read " + PathOf(folder) + ": Input/output error");
        }
        Status Remove(const std::string&) override { return Status::Ok(); }
    } journals;
    RunJournal journal;
    const Status read = ReadJournalOf("/media/PLAYER/", journals, journal);
    EXPECT_EQ(read.code(), EIO);
    EXPECT_EQ(read.message(), "read /media/PLAYER/journal: Input/output error");
}

// A FAT image with a known serial number, mounted with fusefat at one folder and then another.
class RemountedPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        const test::ProcessResult made = test::RunProcess(
            "/usr/sbin/mkfs.vfat", {"-F", "32", "-i", "1A2B3C4D", "-C", image, "65536"});
        ASSERT_EQ(made.exitCode, 0) << made.out << made.err;
        const test::ProcessResult folders =
            test::RunProcess("/usr/bin/mmd", {"-i", image, "::/Music", "::/Music/Album"});
        ASSERT_EQ(folders.exitCode, 0) << folders.err;
    }

    test::TempFolder temp;
    const std::string image = temp / "player.img";
    const std::string first = temp.MakeFolder("first");
    const std::string second = temp.MakeFolder("media/PLAYER");
    StateFolderJournals journals{temp / "state"};
    const test::HangGuard guard{120};
};

TEST_F(RemountedPlayerTest, FindsTheJournalOfTheSameFolderMountedElsewhere) {
    const std::string music = first + "/Music/";
    const std::string album = first + "/Music/Album/";
    std::string path;
    {
        test::FuseFatMount mount(image, first);
        ASSERT_TRUE(mount.mounted());
        const FolderKey key = KeyOfFolder(music);
        EXPECT_EQ(key.volume, "1A2B-3C4D");
        EXPECT_EQ(key.belowRoot, "/Music/");
        ASSERT_TRUE(journals.Write(music, FormatJournal(JournalFor(music, key))));
        // Filed for Album, but Music's: found by the volume, it must still be refused.
        ASSERT_TRUE(journals.Write(album, FormatJournal(JournalFor(music, key))));
        path = journals.PathOf(music);
        ASSERT_TRUE(mount.Unmount());
    }
    test::FuseFatMount mount(image, second);
    ASSERT_TRUE(mount.mounted());
    const std::string moved = second + "/Music/";
    EXPECT_EQ(journals.PathOf(moved), path);

    RunJournal found;
    ASSERT_TRUE(ReadJournalOf(moved, journals, found));
    EXPECT_EQ(FormatJournal(found), FormatJournal(JournalFor(moved, {"1A2B-3C4D", "/Music/"})));

    EXPECT_EQ(ReadJournalOf(second + "/Music/Album/", journals, found).code(), GarbledJournalCode);

    ASSERT_TRUE(journals.Remove(moved));
    EXPECT_EQ(ReadJournalOf(moved, journals, found).code(), ENOENT);
}

// Journals written while the folder's volume had no identity, or by earlier versions, are
// filed by the folder's path; the next write files it by the volume and drops the old one.
TEST_F(RemountedPlayerTest, AJournalFiledByThePathIsReadAndThenSuperseded) {
    test::FuseFatMount mount(image, first);
    ASSERT_TRUE(mount.mounted());
    const std::string music = first + "/Music/";
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.journal",
                  static_cast<unsigned long long>(Fnv1a64(music)));
    const std::string byPath = temp / ("state/" + std::string(name));
    ASSERT_NE(journals.PathOf(music), byPath);
    ASSERT_TRUE(stdfs::create_directories(temp / "state"));
    test::WriteWholeFile(byPath, FormatJournal(JournalFor(music)));

    RunJournal found;
    ASSERT_TRUE(ReadJournalOf(music, journals, found));
    EXPECT_EQ(FormatJournal(found), FormatJournal(JournalFor(music)));

    const FolderKey key = KeyOfFolder(music);
    ASSERT_TRUE(journals.Write(music, FormatJournal(JournalFor(music, key))));
    EXPECT_FALSE(stdfs::exists(byPath));
    ASSERT_TRUE(ReadJournalOf(music, journals, found));
    EXPECT_EQ(found.volume, "1A2B-3C4D");
}

// The lock is named as the journal: a process that reaches the folder by another path, here a
// link, is held off all the same.
TEST_F(RemountedPlayerTest, TheLockHoldsForEveryPathToTheFolder) {
    test::FuseFatMount mount(image, first);
    ASSERT_TRUE(mount.mounted());
    stdfs::create_directory_symlink(first, temp / "link");
    OtherProcess other(temp / "state", temp / "link/Music/");
    ASSERT_EQ(other.Lock(), Answer::Locked);
    FolderLock held;
    EXPECT_EQ(journals.Lock(first + "/Music/", held).code(), EWOULDBLOCK);
    EXPECT_EQ(other.Release(), Answer::Released);
    EXPECT_TRUE(journals.Lock(first + "/Music/", held));
    other.Kill();
}

} // namespace
} // namespace tralvo
