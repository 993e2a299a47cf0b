// The order probe: three tracks whose directory order, name order and creation order each
// start with another word, written and removed without touching anything that is not the
// probe's.
#include "arrange/order_probe.h"
#include "arrange_test_support.h"
#include "platform/paths.h"
#include "stamping_fat.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace tralvo {
namespace {

using Words = std::array<ProbeWord, 3>;
constexpr std::array<ProbeWord, 3> AllWords = {ProbeWord::One, ProbeWord::Two, ProbeWord::Three};
constexpr FileTime TwoSeconds = 20'000'000;

TEST(OrderProbeOrders, FormALatinSquareWhoseFirstWordTellsThePlayerType) {
    std::set<ProbeWord> firsts;
    for (std::size_t place = 0; place < 3; ++place) {
        std::set<ProbeWord> atPlace;
        for (const PlayerType type : AllPlayerTypes) {
            const Words order = ProbeOrder(type);
            EXPECT_EQ(std::set<ProbeWord>(order.begin(), order.end()).size(), 3u);
            atPlace.insert(order[place]);
        }
        EXPECT_EQ(atPlace.size(), 3u) << "place " << place;
    }
    for (const PlayerType type : AllPlayerTypes) {
        EXPECT_EQ(PlayerTypeForFirstWord(ProbeOrder(type).front()), type);
    }
    EXPECT_EQ(PlayerTypeForFirstWord(ProbeWord::One), PlayerType::DirectoryOrder);
    EXPECT_EQ(PlayerTypeForFirstWord(ProbeWord::Two), PlayerType::FileNames);
    EXPECT_EQ(PlayerTypeForFirstWord(ProbeWord::Three), PlayerType::CreationTimes);
}

TEST(OrderProbeOrders, FileNamesSortInNameOrderAsLongAndAsShortNames) {
    Words byName = AllWords;
    std::sort(byName.begin(), byName.end(),
              [](ProbeWord a, ProbeWord b) { return ProbeFileName(a) < ProbeFileName(b); });
    EXPECT_EQ(byName, ProbeOrder(PlayerType::FileNames));
    for (const ProbeWord word : AllWords) {
        const std::string_view name = ProbeFileName(word);
        const std::size_t dot = name.find('.');
        ASSERT_NE(dot, std::string_view::npos) << name;
        EXPECT_LE(dot, 8u) << name;
        EXPECT_LE(name.size() - dot - 1, 3u) << name;
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << name;
    }
}

class OrderProbeTest : public testing::Test {
protected:
    OrderProbeTest() {
        for (const ProbeWord word : AllWords) {
            const std::string name = "word" + std::to_string(static_cast<int>(word)) + ".mp3";
            sounds.files[static_cast<std::size_t>(word)] =
                data.WriteFile(name, "spoken " + std::to_string(static_cast<int>(word)));
        }
        player.WriteFile("keep.mp3", "the user's");
    }

    std::string Probe(std::string_view name = {}) const {
        return player / (std::string(OrderProbeFolderName) + "/" + std::string(name));
    }
    std::string Content(ProbeWord word) const {
        return test::ReadFile(sounds.files[static_cast<std::size_t>(word)]);
    }
    // What the player holds when the probe is written: the user's file and the three tracks.
    std::map<std::string, std::string> Written() const {
        std::map<std::string, std::string> files = {{"keep.mp3", "the user's"}};
        for (const ProbeWord word : AllWords) {
            files[std::string(OrderProbeFolderName) + "/" + std::string(ProbeFileName(word))] =
                Content(word);
        }
        return files;
    }

    test::TempFolder data;
    test::TempFolder player;
    ProbeSounds sounds;
};

// Records the changes a write makes on a FAT volume whose clock the test runs.
class RecordingFat : public test::StampingFat {
public:
    using StampingFat::StampingFat;
    std::vector<std::string> changes;

    Status CopyFile(const std::string& from, const std::string& to) override {
        changes.push_back("copy " + std::string(BaseName(to)));
        return StampingFat::CopyFile(from, to);
    }
    Status Rename(const std::string& from, const std::string& to) override {
        changes.push_back("move " + std::string(BaseName(to)));
        return StampingFat::Rename(from, to);
    }
    Status CreateFolder(const std::string& path) override {
        changes.push_back("make " + std::string(BaseName(WithoutTrailingSlashes(path))));
        return StampingFat::CreateFolder(path);
    }
    Status RemoveFolder(const std::string& path) override {
        changes.push_back("remove " + std::string(BaseName(WithoutTrailingSlashes(path))));
        return StampingFat::RemoveFolder(path);
    }
};

TEST_F(OrderProbeTest, TracksAreMadeInCreationOrderTwoSecondsApartAndMovedInDirectoryOrder) {
    test::FakeClock clock;
    RecordingFat fat(clock);
    ASSERT_TRUE(WriteOrderProbe(player.path(), sounds, fat, clock));

    const auto name = [](ProbeWord word) { return std::string(ProbeFileName(word)); };
    std::vector<std::string> expected = {"make TRALVO_PROBE.TMP"};
    for (const ProbeWord word : ProbeOrder(PlayerType::CreationTimes)) {
        expected.push_back("copy " + name(word));
    }
    expected.push_back("make TRALVO_PROBE");
    for (const ProbeWord word : ProbeOrder(PlayerType::DirectoryOrder)) {
        expected.push_back("move " + name(word));
    }
    expected.push_back("remove TRALVO_PROBE.TMP");
    EXPECT_EQ(fat.changes, expected);

    // Each track in its own 2-second step, in creation order, as players that read only the
    // 2-second field see them.
    std::optional<FileTime> previous;
    for (const ProbeWord word : ProbeOrder(PlayerType::CreationTimes)) {
        ASSERT_TRUE(fat.times.contains(Probe(name(word)))) << name(word);
        const FileTime time = fat.times[Probe(name(word))];
        if (previous) {
            EXPECT_GT(time / TwoSeconds, *previous / TwoSeconds) << name(word);
        }
        previous = time;
    }
    EXPECT_EQ(test::FilesBelow(player.path()), Written());
}

TEST_F(OrderProbeTest, ACopyStampedInTheStepBeforeIsMadeAgainAndNeverLeftInTies) {
    test::FakeClock clock;
    // A clock that ticks late: the second track is stamped a whole step early, once.
    struct LateStamps : test::StampingFat {
        using StampingFat::StampingFat;
        int calls = 0;
        Status CopyFile(const std::string& from, const std::string& to) override {
            if (++calls == 2) {
                earlyStamps = 2 * TwoSeconds;
            }
            return StampingFat::CopyFile(from, to);
        }
    } late(clock);
    ASSERT_TRUE(WriteOrderProbe(player.path(), sounds, late, clock));
    EXPECT_EQ(late.calls, 4);
    EXPECT_EQ(test::FilesBelow(player.path()), Written());

    // A file system whose times never move on cannot give the order: refused, nothing left.
    struct StoppedStamps : test::StampingFat {
        using StampingFat::StampingFat;
        Status CopyFile(const std::string& from, const std::string& to) override {
            Status status = StampingFat::CopyFile(from, to);
            times[to] = 42 * TwoSeconds;
            return status;
        }
    } stopped(clock);
    ASSERT_TRUE(RemoveOrderProbe(player.path(), stopped));
    const Status status = WriteOrderProbe(player.path(), sounds, stopped, clock);
    EXPECT_EQ(status.code(), EAGAIN) << status.message();
    EXPECT_EQ(test::FilesBelow(player.path()),
              (std::map<std::string, std::string>{{"keep.mp3", "the user's"}}));
}

// On this machine's disk, with its own clock: the birth times it stamps follow creation order.
TEST_F(OrderProbeTest, OnTheRealDiskTheTracksAreBornInCreationOrder) {
    FileSystem& fs = SystemFileSystem();
    ASSERT_TRUE(WriteOrderProbe(player.path() + "/", sounds, fs));
    EXPECT_EQ(test::FilesBelow(player.path()), Written());
    EXPECT_FALSE(fs.EntryExists(player / OrderProbeStagingFolderName));

    std::optional<FileTime> previous;
    for (const ProbeWord word : ProbeOrder(PlayerType::CreationTimes)) {
        FileTime time = 0;
        if (!fs.ReadCreationTime(Probe(ProbeFileName(word)), time)) {
            GTEST_SKIP() << "no birth times on this file system";
        }
        if (previous) {
            EXPECT_GT(time, *previous) << ProbeFileName(word);
        }
        previous = time;
    }
}

TEST_F(OrderProbeTest, AnEarlierProbeIsReplaced) {
    player.MakeFolder(OrderProbeFolderName);
    player.WriteFile(std::string(OrderProbeFolderName) + "/A.MP3", "old");
    player.WriteFile(std::string(OrderProbeFolderName) + "/B.MP3", "old");
    player.MakeFolder(OrderProbeStagingFolderName);
    player.WriteFile(std::string(OrderProbeStagingFolderName) + "/C.MP3", "cut off");

    // Without its sounds, the new probe cannot be written: the old one stays.
    const auto before = test::FilesBelow(player.path());
    ProbeSounds missing = sounds;
    missing.files[1] += ".gone";
    EXPECT_EQ(WriteOrderProbe(player.path(), missing, SystemFileSystem()).code(), ENOENT);
    EXPECT_EQ(test::FilesBelow(player.path()), before);

    ASSERT_TRUE(WriteOrderProbe(player.path(), sounds, SystemFileSystem()));
    EXPECT_EQ(test::FilesBelow(player.path()), Written());
    EXPECT_FALSE(SystemFileSystem().EntryExists(player / OrderProbeStagingFolderName));
}

// A folder of the probe's name that holds anything else may be the user's own.
TEST_F(OrderProbeTest, AProbeFolderHoldingAnythingElseIsLeftAloneByWriteAndRemove) {
    const auto foreign = [&](const std::function<void()>& setUp, const std::string& what) {
        std::filesystem::remove_all(player.path());
        std::filesystem::create_directory(player.path());
        player.WriteFile("keep.mp3", "the user's");
        setUp();
        const auto before = test::FilesBelow(player.path());
        const Status written = WriteOrderProbe(player.path(), sounds, SystemFileSystem());
        EXPECT_EQ(written.code(), EEXIST) << what << ": " << written.message();
        EXPECT_EQ(test::FilesBelow(player.path()), before) << what;
        const Status removed = RemoveOrderProbe(player.path(), SystemFileSystem());
        EXPECT_EQ(removed.code(), EEXIST) << what << ": " << removed.message();
        EXPECT_EQ(test::FilesBelow(player.path()), before) << what;
        EXPECT_TRUE(SystemFileSystem().EntryExists(player / OrderProbeFolderName) ||
                    SystemFileSystem().EntryExists(player / OrderProbeStagingFolderName))
            << what;
    };
    const std::string probe = OrderProbeFolderName;
    foreign(
        [&] {
            player.MakeFolder(probe);
            player.WriteFile(probe + "/A.MP3", "the user's A");
            player.WriteFile(probe + "/notes.txt", "the user's notes");
        },
        "a foreign file");
    foreign(
        [&] {
            player.MakeFolder(probe);
            player.MakeFolder(probe + "/A.MP3");
            player.WriteFile(probe + "/A.MP3/inside.mp3", "the user's");
        },
        "a folder of a probe file's name");
    foreign(
        [&] {
            player.MakeFolder(probe);
            player.MakeFolder(probe + "/Live");
        },
        "an empty subfolder");
    foreign([&] { player.WriteFile(probe, "a file"); }, "a file of the folder's name");
    foreign(
        [&] {
            player.MakeFolder(OrderProbeStagingFolderName);
            player.WriteFile(std::string(OrderProbeStagingFolderName) + "/B.MP3", "user's B");
            player.WriteFile(std::string(OrderProbeStagingFolderName) + "/b.txt", "user's");
        },
        "a foreign file where the probe is made");
}

TEST_F(OrderProbeTest, RemoveTakesTheProbeAndNothingElse) {
    EXPECT_TRUE(RemoveOrderProbe(player.path(), SystemFileSystem())); // nothing there
    ASSERT_TRUE(WriteOrderProbe(player.path(), sounds, SystemFileSystem()));
    player.WriteFile("A.MP3", "the user's, beside the probe");

    ASSERT_TRUE(RemoveOrderProbe(player.path(), SystemFileSystem()));
    EXPECT_EQ(test::FilesBelow(player.path()),
              (std::map<std::string, std::string>{{"A.MP3", "the user's, beside the probe"},
                                                  {"keep.mp3", "the user's"}}));
    EXPECT_FALSE(SystemFileSystem().EntryExists(Probe()));
}

// Whichever change fails, what the probe made goes again, and only that.
TEST_F(OrderProbeTest, AFailedWriteLeavesNothingOfTheProbe) {
    const auto before = test::FilesBelow(player.path());
    int failAt = 1;
    for (;; ++failAt) {
        test::FailingFileSystem failing(failAt);
        const Status status = WriteOrderProbe(player.path(), sounds, failing);
        if (status) {
            break;
        }
        EXPECT_EQ(test::FilesBelow(player.path()), before) << "failing change " << failAt;
        EXPECT_FALSE(SystemFileSystem().EntryExists(Probe())) << "failing change " << failAt;
        EXPECT_FALSE(SystemFileSystem().EntryExists(player / OrderProbeStagingFolderName))
            << "failing change " << failAt;
        ASSERT_LT(failAt, 50) << "the write never got through";
    }
    EXPECT_GE(failAt, 10); // two folders made, three copies, three moves, one folder removed
    EXPECT_EQ(test::FilesBelow(player.path()), Written());
}

class ProbeSoundsTest : public testing::Test {
protected:
    void Set(const std::string& code, int count = 3) {
        data.MakeFolder("probe/" + code);
        for (const char* name : {"one.mp3", "two.mp3", "three.mp3"}) {
            if (count-- > 0) {
                data.WriteFile("probe/" + code + "/" + name, code + name);
            }
        }
    }
    std::optional<ProbeSounds> Find(const std::string& code) {
        return FindProbeSounds(data.path() + "/", code, SystemFileSystem());
    }
    test::TempFolder data;
};

TEST_F(ProbeSoundsTest, TheLanguageInEitherCaseElseEnglish) {
    Set("en");
    Set("de");
    Set("fr", 2);
    const std::string probe = data.path() + "/probe/";
    ASSERT_TRUE(Find("DE"));
    EXPECT_EQ(Find("DE")->files,
              (std::array<std::string, 3>{probe + "de/one.mp3", probe + "de/two.mp3",
                                          probe + "de/three.mp3"}));
    ASSERT_TRUE(Find("FR")); // incomplete
    EXPECT_EQ(Find("FR")->files[1], probe + "en/two.mp3");
    ASSERT_TRUE(Find("IT")); // none at all
    EXPECT_EQ(Find("IT")->files[2], probe + "en/three.mp3");
    ASSERT_TRUE(Find("../probe/de"));
    EXPECT_EQ(Find("../probe/de")->files[0], probe + "en/one.mp3");
}

TEST_F(ProbeSoundsTest, NoCompleteSetGivesNothing) {
    EXPECT_FALSE(Find("en"));
    Set("en", 2);
    Set("de", 1);
    EXPECT_FALSE(Find("en"));
    EXPECT_FALSE(Find("de"));
}

} // namespace
} // namespace tralvo
