#include "arrange/playlist_send.h"
#include "arrange/track_loading.h"
#include "support/forwarding_file_system.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

// The real disk on a volume that folds letter case or not, as the test says.
class CaseRuleFileSystem : public test::ForwardingFileSystem {
public:
    explicit CaseRuleFileSystem(bool folds) : folds_(folds) {}
    bool FoldsCase(const std::string&) override { return folds_; }

private:
    bool folds_;
};

// A player folder of file-name order and a music folder beside it.
class PlaylistSend : public testing::Test {
protected:
    void SetUp() override {
        player = dir.MakeFolder("player") + "/";
        music = dir.MakeFolder("music") + "/";
        dir.WriteFile("player/a.mp3", "bytes of a");
        dir.WriteFile("player/b.mp3", "bytes of b");
        dir.WriteFile("player/{1}c.mp3", "bytes of c");
    }

    PlaylistSendPlan Plan(const std::vector<std::string>& entries, FileSystem& fs) {
        const TrackList tracks = LoadTracks(player, {PlayerType::FileNames, false}, fs);
        return PlanPlaylistSend(entries, music, player, tracks, fs);
    }

    test::TempFolder dir;
    std::string player;
    std::string music;
};

TEST_F(PlaylistSend, NamesCompareInTheLetterCaseRulesOfThePlayersVolume) {
    dir.WriteFile("music/A.MP3", "bytes of a");
    dir.WriteFile("music/B.MP3", "other bytes");
    for (const bool folds : {true, false}) {
        CaseRuleFileSystem fs(folds);
        const PlaylistSendPlan plan = Plan({"A.MP3", "B.MP3"}, fs);
        EXPECT_TRUE(plan.missing.empty());
        if (folds) {
            // a.mp3 is there with the same bytes; B.MP3 would replace b.mp3.
            ASSERT_EQ(plan.copies.size(), 1u);
            EXPECT_EQ(plan.copies[0].source, music + "B.MP3");
            EXPECT_EQ(plan.copies[0].target, player + "b.mp3");
            EXPECT_TRUE(plan.copies[0].replaces);
        } else {
            ASSERT_EQ(plan.copies.size(), 2u);
            EXPECT_EQ(plan.copies[0].target, player + "A.MP3");
            EXPECT_FALSE(plan.copies[0].replaces);
            EXPECT_FALSE(plan.copies[1].replaces);
        }
    }
}

// A playlist written on a Mac spells "é" as "e" and a combining accent; the files on the
// computer and the player may spell it either way.
TEST_F(PlaylistSend, AccentedNamesMatchComposedOrNot) {
    dir.WriteFile("music/Caf\xC3\xA9.mp3", "bytes of the cafe");
    dir.WriteFile("music/Ola\xCC\x81.mp3", "bytes of a");
    dir.WriteFile("player/Ol\xC3\xA1.mp3", "bytes of a");
    CaseRuleFileSystem fs(false);
    const PlaylistSendPlan plan = Plan({"Cafe\xCC\x81.mp3", "Ol\xC3\xA1.mp3"}, fs);
    EXPECT_TRUE(plan.missing.empty());
    // The player's Olá holds the same bytes; the café goes under the computer's spelling.
    ASSERT_EQ(plan.copies.size(), 1u);
    EXPECT_EQ(plan.copies[0].source, music + "Caf\xC3\xA9.mp3");
    EXPECT_EQ(plan.copies[0].target, player + "Caf\xC3\xA9.mp3");
    EXPECT_FALSE(plan.copies[0].replaces);
}

TEST_F(PlaylistSend, ATrackHoldsItsNameUnderItsOrderPrefixAndALinkCountsByItsFile) {
    dir.WriteFile("elsewhere.mp3", "bytes of c");
    std::filesystem::create_symlink(dir / "elsewhere.mp3", music + "c.mp3");
    dir.WriteFile("music/d.mp3", "bytes of d");
    CaseRuleFileSystem fs(false);
    const PlaylistSendPlan plan =
        Plan({"c.mp3", "d.mp3", "./d.mp3", "../player/a.mp3", "../player/gone.mp3", "gone.mp3",
              "../music", "../player/c.mp3"},
             fs);
    ASSERT_EQ(plan.copies.size(), 1u) << "d.mp3 once, nothing for c.mp3 or a.mp3";
    EXPECT_EQ(plan.copies[0].source, music + "d.mp3");
    EXPECT_EQ(plan.copies[0].target, player + "d.mp3");
    EXPECT_EQ(plan.missing,
              (std::vector<std::string>{"../player/gone.mp3", "gone.mp3", "../music"}));
}

TEST_F(PlaylistSend, TwoFilesOfOneNameFromTwoFoldersClashUnlessTheirBytesAgree) {
    dir.MakeFolder("music/one");
    dir.MakeFolder("music/two");
    dir.MakeFolder("music/three");
    dir.WriteFile("music/one/e.mp3", "bytes of e");
    dir.WriteFile("music/two/e.mp3", "bytes of e");
    dir.WriteFile("music/three/e.mp3", "more bytes");
    CaseRuleFileSystem fs(false);
    const PlaylistSendPlan plan = Plan({"one/e.mp3", "two/e.mp3", "three/e.mp3"}, fs);
    ASSERT_EQ(plan.copies.size(), 2u);
    EXPECT_FALSE(plan.copies[0].replaces);
    EXPECT_EQ(plan.copies[1].source, music + "three/e.mp3");
    EXPECT_EQ(plan.copies[1].target, player + "e.mp3");
    EXPECT_TRUE(plan.copies[1].replaces);
}

} // namespace
} // namespace tralvo
