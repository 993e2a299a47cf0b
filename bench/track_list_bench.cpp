// Loading a player folder and sorting its track list, each against what it cannot do
// without, on /tmp with a warm cache:
//  - LoadFolder: LoadTracks of 2,000 tagged MP3 files against reading their tags alone (a
//    SoundFile for each path, in a loop); goal <= 1.2.
//  - SortTagged: SortTrackList of 5,000 tagged tracks under artist, album, title against a
//    std::stable_sort of the same keys folded beforehand; goal <= 1.5.
//  - SortWithUntagged: the same with every tenth track untagged, which takes the selection
//    sort: its cost per comparison (n(n-1)/2 of them) against the stable sort's (counted by
//    its comparator); goal <= 2.
//
// usage: track_list_bench [--benchmark_...]
#include "arrange/track_loading.h"
#include "arrange/track_ordering.h"
#include "media/writers/id3v2_writer.h"
#include "paired_timing.h"
#include "platform/text.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using namespace tralvo;
using bench::PairedTiming;

constexpr std::size_t LoadedTracks = 2000;
constexpr std::size_t SortedTracks = 5000;
constexpr media::SortKeys ArtistAlbumTitle{media::SortKey::Artist, media::SortKey::Album,
                                           media::SortKey::Title};

std::string TaggedMp3(std::size_t index) {
    const std::string n = std::to_string(index);
    const test::Bytes tag = test::Id3v2TagWriter(3)
                                .Text("TIT2", "Title " + n)
                                .Text("TPE1", "Artist " + std::to_string(index % 50))
                                .Text("TALB", "Album " + std::to_string(index % 7))
                                .Text("TYER", "2004")
                                .Text("TRCK", std::to_string(index % 20 + 1))
                                .Comment("eng", "", "A comment " + n)
                                .Padding(256)
                                .Build();
    return test::AsString(test::Mp3File(tag, 10));
}

// count tracks written in a shuffled order, every untaggedEvery-th without a tag (0: none),
// with a cover and a playlist among them as a player folder has.
class TrackFolder {
public:
    TrackFolder(std::size_t count, std::size_t untaggedEvery) {
        std::vector<std::size_t> order(count);
        for (std::size_t i = 0; i < count; ++i) {
            order[i] = i;
        }
        std::shuffle(order.begin(), order.end(), std::mt19937(17));
        for (const std::size_t i : order) {
            const bool untagged = untaggedEvery != 0 && i % untaggedEvery == 0;
            folder.WriteFile("Track " + std::to_string(i) + ".mp3",
                             untagged ? test::AsString(test::Mp3File({}, 10)) : TaggedMp3(i));
        }
        folder.WriteFile("cover.jpg", std::string(20000, 'j'));
        folder.WriteFile("playlist.m3u", "#EXTM3U\n");
    }
    test::TempFolder folder;
};

void LoadFolder(benchmark::State& state) {
    static const TrackFolder tracks(LoadedTracks, 0);
    const std::string& folder = tracks.folder.path();
    FileSystem& fs = SystemFileSystem();
    std::vector<std::string> paths;
    for (const TrackEntry& entry : LoadTracks(folder, {PlayerType::DirectoryOrder}, fs)) {
        paths.push_back(entry.file->FileName());
    }
    PairedTiming timing;
    std::size_t sink = 0;
    for (auto _ : state) {
        std::unique_ptr<TrackList> loaded;
        timing.Ours(state, [&] {
            loaded =
                std::make_unique<TrackList>(LoadTracks(folder, {PlayerType::DirectoryOrder}, fs));
        });
        sink += loaded->size();
        timing.Baseline([&] {
            for (const std::string& path : paths) {
                const media::SoundFile file(path, fs);
                sink += file.Title().size();
            }
        });
    }
    benchmark::DoNotOptimize(sink);
    timing.Report(state, 1.2);
    state.counters["tracks"] = static_cast<double>(paths.size());
}

// The three keys of every track, folded as the sort compares them.
struct FoldedKeys {
    std::string artist;
    std::string album;
    std::string title;
};

int Compare(const FoldedKeys& a, const FoldedKeys& b) {
    if (const int c = a.artist.compare(b.artist); c != 0) {
        return c;
    }
    if (const int c = a.album.compare(b.album); c != 0) {
        return c;
    }
    return a.title.compare(b.title);
}

// A track list that can be put back in the order it was loaded in.
class SortableList {
public:
    explicit SortableList(std::size_t untaggedEvery)
        : folder_(SortedTracks, untaggedEvery),
          tracks_(
              LoadTracks(folder_.folder.path(), {PlayerType::DirectoryOrder}, SystemFileSystem())) {
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            media::SoundFile& file = *tracks_[i].file;
            loadedAt_[&file] = i;
            keys_.push_back({ToLowerAscii(file.Artist()), ToLowerAscii(file.Album()),
                             ToLowerAscii(file.Title())});
        }
    }
    TrackList& tracks() { return tracks_; }
    const std::vector<FoldedKeys>& keys() const { return keys_; }
    void Restore() {
        std::vector<std::size_t> order(tracks_.size());
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            order[loadedAt_.at(tracks_[i].file.get())] = i;
        }
        tracks_.Reorder(order);
    }

private:
    TrackFolder folder_;
    TrackList tracks_;
    std::unordered_map<const media::SoundFile*, std::size_t> loadedAt_;
    std::vector<FoldedKeys> keys_;
};

void SortTagged(benchmark::State& state) {
    static SortableList list(0);
    PairedTiming timing;
    for (auto _ : state) {
        list.Restore();
        timing.Ours(state, [&] { SortTrackList(list.tracks(), ArtistAlbumTitle, false, true); });
        std::vector<FoldedKeys> keys = list.keys();
        timing.Baseline([&] {
            std::stable_sort(keys.begin(), keys.end(),
                             [](const auto& a, const auto& b) { return Compare(a, b) < 0; });
        });
        benchmark::DoNotOptimize(keys.data());
    }
    timing.Report(state, 1.5);
    state.counters["tracks"] = static_cast<double>(list.tracks().size());
}

void SortWithUntagged(benchmark::State& state) {
    static SortableList list(10);
    const auto n = static_cast<double>(list.tracks().size());
    double stableComparisons = 0;
    PairedTiming timing;
    for (auto _ : state) {
        list.Restore();
        timing.Ours(state, [&] { SortTrackList(list.tracks(), ArtistAlbumTitle, false, true); });
        std::vector<FoldedKeys> keys = list.keys();
        std::size_t comparisons = 0;
        timing.Baseline([&] {
            std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
                ++comparisons;
                return Compare(a, b) < 0;
            });
        });
        stableComparisons = static_cast<double>(comparisons);
        benchmark::DoNotOptimize(keys.data());
    }
    // The selection sort compares each remaining entry with the best so far.
    timing.ReportPerUnit(state, 2.0, n * (n - 1) / 2, stableComparisons);
    state.counters["stable_compares"] = stableComparisons;
    state.counters["untagged"] =
        static_cast<double>(std::count_if(list.tracks().begin(), list.tracks().end(),
                                          [](const TrackEntry& e) { return !e.file->HasTag(); }));
}

BENCHMARK(LoadFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(SortTagged)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(SortWithUntagged)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
