#include "arrange/playlist_order.h"
#include "arrange/track_loading.h"
#include "support/forwarding_file_system.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using Names = std::vector<std::string>;

// A file system whose volumes fold letter case or not, as the test says; nothing is read.
class CaseRuleFileSystem : public test::ForwardingFileSystem {
public:
    explicit CaseRuleFileSystem(bool folds) : folds_(folds) {}
    bool FoldsCase(const std::string&) override { return folds_; }

private:
    bool folds_;
};

// A player folder /player/ listing the names on disk in this order, shown as type shows them.
LoadedFolder Player(const Names& onDisk, PlayerType type, FileSystem& fs) {
    LoadedFolder loaded{"/player/", {type, false}, {}};
    for (const std::string& name : onDisk) {
        std::string shown = name;
        if (type == PlayerType::FileNames) {
            shown.erase(0, OrderPrefixLength(shown));
        }
        loaded.tracks.Append({shown, std::make_unique<media::SoundFile>("/player/" + name, fs)});
    }
    return loaded;
}

// The names on disk in the matched order.
Names Ordered(const LoadedFolder& loaded, const PlaylistMatch& match) {
    Names names;
    for (const std::size_t i : match.order) {
        names.push_back(std::string(BaseName(loaded.tracks[i].file->FileName())));
    }
    return names;
}

TEST(PlaylistOrder, NamedTracksComeFirstInPlaylistOrderAndTheRestKeepTheirs) {
    CaseRuleFileSystem fs(false);
    const LoadedFolder loaded =
        Player({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}, PlayerType::DirectoryOrder, fs);
    // Relative to the player folder, absolute there, from a subfolder and from elsewhere.
    const PlaylistMatch match =
        MatchPlaylist(loaded,
                      {"d.mp3", "/player/b.mp3", "../player/d.mp3", "gone.mp3", "sub/e.mp3",
                       "b.mp3", "http://radio.example/", "/other/place/missing.ogg"},
                      "/player/", fs);
    EXPECT_EQ(Ordered(loaded, match), (Names{"d.mp3", "b.mp3", "e.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(match.unmatched,
              (Names{"gone.mp3", "http://radio.example/", "/other/place/missing.ogg"}));
}

TEST(PlaylistOrder, LetterCaseCountsAsTheFolderVolumeCountsIt) {
    for (const bool folds : {true, false}) {
        CaseRuleFileSystem fs(folds);
        const LoadedFolder loaded =
            Player({"Song.MP3", "other.mp3"}, PlayerType::DirectoryOrder, fs);
        const PlaylistMatch match =
            MatchPlaylist(loaded, {"/PLAYER/other.mp3", "song.mp3"}, "/home/u/", fs);
        EXPECT_EQ(Ordered(loaded, match), (Names{"other.mp3", "Song.MP3"})) << folds;
        EXPECT_EQ(match.unmatched, folds ? Names{} : Names{"song.mp3"}) << folds;
    }
}

// A Mac writes an accented letter as the letter and a combining accent, Windows as one letter.
TEST(PlaylistOrder, AccentedLettersMatchComposedOrNot) {
    CaseRuleFileSystem fs(true);
    const LoadedFolder loaded =
        Player({"Ol\xC3\xA1.mp3", "Cafe\xCC\x81.mp3", "x.mp3"}, PlayerType::DirectoryOrder, fs);
    const PlaylistMatch match =
        MatchPlaylist(loaded, {"x.mp3", "CAF\xC3\xA9.mp3", "Ola\xCC\x81.mp3"}, "/player/", fs);
    EXPECT_EQ(Ordered(loaded, match), (Names{"x.mp3", "Cafe\xCC\x81.mp3", "Ol\xC3\xA1.mp3"}));
    EXPECT_TRUE(match.unmatched.empty());
}

// A playlist made on the computer names the files without the order prefixes the player's
// copies carry; our own export names them with the prefixes they had then.
TEST(PlaylistOrder, FileNameOrderMatchesShownNamesAndOutdatedPrefixes) {
    CaseRuleFileSystem fs(true);
    const LoadedFolder loaded = Player({"{1}a.mp3", "{2}b.mp3", "{3}c.mp3", "{4}x.mp3", "{5}x.mp3"},
                                       PlayerType::FileNames, fs);
    const PlaylistMatch fromComputer = MatchPlaylist(
        loaded, {"C:/Music/c.mp3", "C:/Music/x.mp3", "C:/Music/x.mp3", "C:/Music/x.mp3", "a.mp3"},
        "/home/u/", fs);
    EXPECT_EQ(Ordered(loaded, fromComputer),
              (Names{"{3}c.mp3", "{4}x.mp3", "{5}x.mp3", "{1}a.mp3", "{2}b.mp3"}));
    EXPECT_EQ(fromComputer.unmatched, Names{});

    const PlaylistMatch exported =
        MatchPlaylist(loaded, {"{5}x.mp3", "{9}b.mp3", "{2}b.mp3", "{7}zz.mp3"}, "/player/", fs);
    EXPECT_EQ(Ordered(loaded, exported),
              (Names{"{5}x.mp3", "{2}b.mp3", "{1}a.mp3", "{3}c.mp3", "{4}x.mp3"}));
    EXPECT_EQ(exported.unmatched, Names{"{7}zz.mp3"});
}

// Under directory order a "{n}" is part of a name like any other.
TEST(PlaylistOrder, OtherPlayerTypesTakeAPrefixAsPartOfTheName) {
    CaseRuleFileSystem fs(false);
    const LoadedFolder loaded = Player({"a.mp3", "{1}b.mp3"}, PlayerType::DirectoryOrder, fs);
    const PlaylistMatch match = MatchPlaylist(loaded, {"{2}a.mp3", "{1}b.mp3"}, "/player/", fs);
    EXPECT_EQ(Ordered(loaded, match), (Names{"{1}b.mp3", "a.mp3"}));
    EXPECT_EQ(match.unmatched, Names{"{2}a.mp3"});
}

} // namespace
} // namespace tralvo
