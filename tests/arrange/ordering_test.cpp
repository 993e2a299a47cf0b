// The whole-list orderings: sort and reverse sort by three keys with the untagged rule, and
// the shuffle.
#include "arrange/track_ordering.h"
#include "arrange_test_support.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace tralvo {
namespace {

using test::Id3v1Fields;

class OrderingTest : public testing::Test {
protected:
    // A track named name, tagged with fields or untagged.
    void Add(const std::string& name, std::optional<Id3v1Fields> fields = std::nullopt) {
        const std::string path =
            folder.WriteFile(name, fields ? test::TaggedMp3(*fields) : test::UntaggedMp3());
        tracks.Append({name, std::make_unique<media::SoundFile>(path)});
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const TrackEntry& entry : tracks) {
            names.push_back(entry.display);
        }
        return names;
    }

    test::TempFolder folder;
    TrackList tracks;
};

Id3v1Fields Tag(std::string artist, std::string album, std::string title = "T") {
    Id3v1Fields fields;
    fields.artist = std::move(artist);
    fields.album = std::move(album);
    fields.title = std::move(title);
    return fields;
}

TEST_F(OrderingTest, SortsByTheThreeKeysAndReverseSortsDescending) {
    Add("1.mp3", Tag("Artist B", "Album X"));
    Add("2.mp3", Tag("Artist A", "Album Y"));
    Add("3.mp3", Tag("Artist A", "Album X"));
    SortTrackList(tracks, {media::SortKey::Artist, media::SortKey::Album, media::SortKey::Title},
                  false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"3.mp3", "2.mp3", "1.mp3"}));

    tracks.Reorder({2, 1, 0}); // back to the starting order
    SortTrackList(tracks, {media::SortKey::Artist, media::SortKey::Album, media::SortKey::Title},
                  true, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"1.mp3", "2.mp3", "3.mp3"}));
}

TEST_F(OrderingTest, EqualTracksKeepTheirOrderBothWays) {
    Add("b.mp3", Tag("Same", "Same", "Same"));
    Add("a.mp3", Tag("Same", "Same", "Same"));
    Add("c.mp3", Tag("Other", "Same", "Same"));
    SortTrackList(tracks, {media::SortKey::Artist, media::SortKey::Album, media::SortKey::Title},
                  false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.mp3", "b.mp3", "a.mp3"}));
    SortTrackList(tracks, {media::SortKey::Artist, media::SortKey::Album, media::SortKey::Title},
                  true, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "a.mp3", "c.mp3"}));
}

TEST_F(OrderingTest, UntaggedTracksComeFirstByPathAndLastWhenReversed) {
    Add("tagged-z.mp3", Tag("A", "A", "Zebra"));
    Add("untagged-b.mp3");
    Add("tagged-a.mp3", Tag("A", "A", "Apple"));
    Add("untagged-a.mp3");
    SortTrackList(tracks, {media::SortKey::Title, media::SortKey::Title, media::SortKey::Title},
                  false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"untagged-a.mp3", "untagged-b.mp3", "tagged-a.mp3",
                                                 "tagged-z.mp3"}));
    SortTrackList(tracks, {media::SortKey::Title, media::SortKey::Title, media::SortKey::Title},
                  true, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"tagged-z.mp3", "tagged-a.mp3", "untagged-b.mp3",
                                                 "untagged-a.mp3"}));
}

TEST_F(OrderingTest, AnUntaggedFileGoesBeforeATaggedOneWhateverItsName) {
    Add("a.mp3", Tag("X", "X"));
    Add("b.mp3");
    SortTrackList(tracks,
                  {media::SortKey::FileName, media::SortKey::FileName, media::SortKey::FileName},
                  false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "a.mp3"}));
}

TEST_F(OrderingTest, TrackNumbersCompareAsNumbersYearsAndCaseAsBytes) {
    Id3v1Fields ten = Tag("X", "X");
    ten.track = 10;
    Id3v1Fields two = Tag("X", "X");
    two.track = 2;
    Add("ten.mp3", ten);
    Add("two.mp3", two);
    SortTrackList(
        tracks,
        {media::SortKey::TrackNumber, media::SortKey::TrackNumber, media::SortKey::TrackNumber},
        false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"two.mp3", "ten.mp3"}));

    tracks.Clear();
    Id3v1Fields y999 = Tag("X", "X");
    y999.year = "999";
    Id3v1Fields y1999 = Tag("X", "X");
    y1999.year = "1999";
    Add("999.mp3", y999);
    Add("1999.mp3", y1999);
    SortTrackList(tracks, {media::SortKey::Year, media::SortKey::Year, media::SortKey::Year}, false,
                  true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"1999.mp3", "999.mp3"}));

    // ASCII letters fold; an e with acute accent (Latin-1) does not.
    tracks.Clear();
    Add("small.mp3", Tag("x", "abc\xE9"));
    Add("capital.mp3", Tag("x", "ABC\xC9"));
    media::SoundFile& small = *tracks[0].file;
    media::SoundFile& capital = *tracks[1].file;
    EXPECT_TRUE(media::CompareTracks(
        capital, small, {media::SortKey::Album, media::SortKey::Album, media::SortKey::Album},
        false, false));
    EXPECT_FALSE(media::CompareTracks(
        small, capital, {media::SortKey::Album, media::SortKey::Album, media::SortKey::Album},
        false, false));
    Add("folded.mp3", Tag("x", "ABC\xE9"));
    EXPECT_FALSE(media::CompareTracks(
        *tracks[2].file, small,
        {media::SortKey::Album, media::SortKey::Album, media::SortKey::Album}, false, false));
    EXPECT_FALSE(media::CompareTracks(
        small, *tracks[2].file,
        {media::SortKey::Album, media::SortKey::Album, media::SortKey::Album}, false, false));
}

constexpr media::SortKeys ArtistAlbumTitle{media::SortKey::Artist, media::SortKey::Album,
                                           media::SortKey::Title};

TEST_F(OrderingTest, NaturalOrderPutsTrackTwoBeforeTrackTenAndReversesExactly) {
    // Untagged, as ripped folders often are: the untagged rule's paths decide.
    for (const char* name : {"Track 10.mp3", "Track 1.mp3", "track 2.mp3", "Track 02.mp3",
                             "Track 9.mp3", "Track.mp3"}) {
        Add(name);
    }
    SortTrackList(tracks, ArtistAlbumTitle, false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Track 02.mp3", "Track 1.mp3", "Track 10.mp3",
                                                 "track 2.mp3", "Track 9.mp3", "Track.mp3"}));

    media::SortKeys natural = ArtistAlbumTitle;
    natural.natural = true;
    SortTrackList(tracks, natural, false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Track 1.mp3", "track 2.mp3", "Track 02.mp3",
                                                 "Track 9.mp3", "Track 10.mp3", "Track.mp3"}));
    SortTrackList(tracks, natural, true, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Track.mp3", "Track 10.mp3", "Track 9.mp3",
                                                 "Track 02.mp3", "track 2.mp3", "Track 1.mp3"}));
}

TEST_F(OrderingTest, NaturalOrderHoldsForTheTextKeysButNotTheYear) {
    for (const auto& [name, album, year] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"a.mp3", "Vol. 10", "999"},
             {"b.mp3", "vol. 9", "1999"},
             {"c.mp3", "Vol. 9", "2000"}}) {
        Id3v1Fields fields = Tag("X", album);
        fields.year = year;
        Add(name, fields);
    }
    media::SortKeys albumThenYear{media::SortKey::Album, media::SortKey::Year, media::SortKey::Year,
                                  true};
    SortTrackList(tracks, albumThenYear, false, true);
    // Letter case folds as ever, so the year decides between the two of volume 9.
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "c.mp3", "a.mp3"}));

    media::SortKeys byYear{media::SortKey::Year, media::SortKey::Year, media::SortKey::Year, true};
    SortTrackList(tracks, byYear, false, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "c.mp3", "a.mp3"})); // "999" last

    // File names and titles follow the same rule.
    tracks.Clear();
    Add("Part 10.mp3", Tag("X", "X", "Part 10"));
    Add("part 9.mp3", Tag("X", "X", "part 9"));
    for (const media::SortKey key : {media::SortKey::FileName, media::SortKey::Title}) {
        SortTrackList(tracks, {key, key, key, true}, false, true);
        EXPECT_EQ(Names(), (std::vector<std::string>{"part 9.mp3", "Part 10.mp3"}));
        SortTrackList(tracks, {key, key, key, false}, false, true);
        EXPECT_EQ(Names(), (std::vector<std::string>{"Part 10.mp3", "part 9.mp3"}));
    }
}

TEST(Shuffle, FollowsTheGeneratorAndTheMovesExactly) {
    EXPECT_EQ(media::ShuffleMoves(6, 7), (std::vector<std::size_t>{1, 5, 1, 4, 0, 1}));
    test::TempFolder folder;
    TrackList tracks;
    for (const char* name : {"A", "B", "C", "D", "E", "F"}) {
        tracks.Append({name, nullptr});
    }
    ShuffleTrackList(tracks, 7);
    std::string order;
    for (const TrackEntry& entry : tracks) {
        order += entry.display;
    }
    EXPECT_EQ(order, "EABDCF");
    EXPECT_TRUE(media::ShuffleMoves(0, 7).empty());
}

// The selection sort exactly as written down: the best remaining entry by CompareTracks is
// moved (not swapped) to the front. The program's sort must give its results in every case.
std::vector<std::size_t> ReferenceOrder(std::vector<media::SoundFile*> files, media::SortKeys keys,
                                        bool reverse, bool untaggedRule) {
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            if (media::CompareTracks(*files[order[j]], *files[order[best]], keys, reverse,
                                     untaggedRule)) {
                best = j;
            }
        }
        const std::size_t chosen = order[best];
        order.erase(order.begin() + static_cast<std::ptrdiff_t>(best));
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(i), chosen);
    }
    return order;
}

// A small pool of files whose tags (from values) collide often, some untagged, in random lists.
void ExpectTheSelectionSortsOrderOverRandomLists(const std::vector<const char*>& values,
                                                 bool natural) {
    test::TempFolder folder;
    std::vector<std::unique_ptr<media::SoundFile>> pool;
    std::mt19937 random(20261207);
    for (int i = 0; i < 24; ++i) {
        const std::string name = "f" + std::to_string(i % 7) + "-" + std::to_string(i) + ".mp3";
        std::string content;
        if (i % 5 == 3) {
            content = test::UntaggedMp3();
        } else {
            Id3v1Fields fields =
                Tag(values[random() % values.size()], values[random() % values.size()],
                    values[random() % values.size()]);
            fields.track = static_cast<std::uint8_t>(random() % 3);
            content = test::TaggedMp3(fields);
        }
        pool.push_back(std::make_unique<media::SoundFile>(folder.WriteFile(name, content)));
    }
    for (int round = 0; round < 3000; ++round) {
        std::vector<media::SoundFile*> files;
        const std::size_t count = random() % 12;
        for (std::size_t i = 0; i < count; ++i) {
            files.push_back(pool[random() % pool.size()].get());
        }
        const media::SortKeys keys{
            static_cast<media::SortKey>(random() % 9), static_cast<media::SortKey>(random() % 9),
            static_cast<media::SortKey>(round % 50 == 0 ? 255 : random() % 9), natural};
        const bool reverse = random() % 2 == 0;
        const bool untaggedRule = random() % 2 == 0;
        ASSERT_EQ(media::SortedOrder(files, keys, reverse, untaggedRule),
                  ReferenceOrder(files, keys, reverse, untaggedRule))
            << "round " << round;
    }
}

TEST(SortedOrder, AgreesWithTheSelectionSortOverThousandsOfRandomLists) {
    ExpectTheSelectionSortsOrderOverRandomLists({"a", "B", "b", "c", ""}, false);
}

TEST(SortedOrder, AgreesWithTheSelectionSortInNaturalOrderToo) {
    ExpectTheSelectionSortsOrderOverRandomLists({"a2", "A10", "a02", "a", "9", ""}, true);
}

} // namespace
} // namespace tralvo
