// The directory-order rewrite (ArrangeByDirectoryOrder) against a plain program that makes
// the same calls: QZ_TEMP1 created, every entry renamed into it, QZ_TEMP2 created, every
// entry renamed on into it, QZ_TEMP1 removed, every entry renamed back, QZ_TEMP2 removed;
// three renames per entry through renameat2(RENAME_NOREPLACE), with the check-then-rename
// fallback where the file system refuses the flag, as our file system does. Goal <= 1.3:
//  - OnTmp: 2,000 tracks and a few other entries in a folder on /tmp;
//  - OnFatImage: 200 tracks and a few other files in a folder of a FAT32 image mounted
//    with fusefat (skipped where FUSE is missing).
//
// usage: directory_order_bench [--benchmark_...]
#include "arrange/strategies.h"
#include "arrange/track_loading.h"
#include "media/writers/id3v2_writer.h"
#include "paired_timing.h"
#include "support/fat_image.h"
#include "support/recorded_failures.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace tralvo;
using bench::PairedTiming;

struct NoProgress : RunProgress {
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
};

bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    struct stat target {};
    if (::lstat(to.c_str(), &target) == 0 || errno != ENOENT) {
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// The plain program: names are the other entries, then the tracks in list order. Returns
// the number of calls that failed.
int PlainRewrite(const std::string& folder, const std::vector<std::string>& names) {
    const std::string first = folder + "QZ_TEMP1/";
    const std::string second = folder + "QZ_TEMP2/";
    int failures = 0;
    const auto moveAll = [&](const std::string& from, const std::string& to) {
        for (const std::string& name : names) {
            failures += MoveWithoutReplacing(from + name, to + name) ? 0 : 1;
        }
    };
    failures += ::mkdir(first.c_str(), 0777) == 0 ? 0 : 1;
    moveAll(folder, first);
    failures += ::mkdir(second.c_str(), 0777) == 0 ? 0 : 1;
    moveAll(first, second);
    failures += ::rmdir(first.c_str()) == 0 ? 0 : 1;
    moveAll(second, folder);
    failures += ::rmdir(second.c_str()) == 0 ? 0 : 1;
    return failures;
}

// A player folder (ending in '/') with its track list in an order of its own, and the
// names the plain program moves.
struct ArrangedFolder {
    std::string folder;
    TrackList tracks;
    std::vector<std::string> names;

    void Load(const std::string& path) {
        folder = FolderWithSlash(path);
        tracks = LoadTracks(folder, {PlayerType::DirectoryOrder}, SystemFileSystem());
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            order.push_back((i * 7 + 3) % tracks.size());
        }
        tracks.Reorder(order);
        std::set<std::string> trackNames;
        for (const TrackEntry& track : tracks) {
            trackNames.insert(track.display);
        }
        std::vector<DirectoryEntry> entries;
        (void)SystemFileSystem().Enumerate(folder, EnumerateFilter::FilesAndFolders, false,
                                           entries);
        for (const DirectoryEntry& entry : entries) {
            if (!trackNames.contains(entry.name)) {
                names.push_back(entry.name);
            }
        }
        for (const TrackEntry& track : tracks) {
            names.push_back(track.display);
        }
    }
};

void WriteTracks(const std::string& folder, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        test::WriteWholeFile(folder + "/Track " + std::to_string(i) + ".mp3",
                             test::AsString(test::Mp3File({}, 1)));
        if (i % 50 == 25) {
            test::WriteWholeFile(folder + "/notes " + std::to_string(i) + ".txt", "notes");
        }
    }
    test::WriteWholeFile(folder + "/.hidden", "hidden");
}

void Compare(benchmark::State& state, ArrangedFolder& arranged) {
    test::RecordedFailures failures;
    NoProgress progress;
    ArrangeRun run{SystemFileSystem(), failures, progress};
    PairedTiming timing;
    int plainFailures = 0;
    for (auto _ : state) {
        timing.Ours(state, [&] { ArrangeByDirectoryOrder(arranged.folder, arranged.tracks, run); });
        timing.Baseline([&] { plainFailures += PlainRewrite(arranged.folder, arranged.names); });
    }
    if (!failures.empty() || plainFailures != 0) {
        state.SkipWithError("a rename failed");
        return;
    }
    timing.Report(state, 1.3);
    state.counters["entries"] = static_cast<double>(arranged.names.size());
}

void OnTmp(benchmark::State& state) {
    static const test::TempFolder temp;
    static ArrangedFolder arranged = [] {
        WriteTracks(temp.MakeFolder("Music"), 2000);
        test::WriteWholeFile(temp.MakeFolder("Music/Covers") + "/front.jpg", "jpeg");
        ArrangedFolder folder;
        folder.Load(temp / "Music");
        return folder;
    }();
    Compare(state, arranged);
}

// The image's folder holds files only: fusefat cannot move a folder with contents.
struct MountedPlayer {
    test::TempFolder temp;
    test::FatImage image{temp};
    ArrangedFolder arranged;
    bool ready = false;

    MountedPlayer() {
        if (!test::FuseUnavailable().empty() || !image.Mount()) {
            return;
        }
        std::filesystem::create_directory(image / "Music");
        WriteTracks(image / "Music", 200);
        arranged.Load(image / "Music");
        ready = true;
    }
};

void OnFatImage(benchmark::State& state) {
    static MountedPlayer player;
    if (!player.ready) {
        state.SkipWithError(("no FAT image: " + test::FuseUnavailable()).c_str());
        return;
    }
    Compare(state, player.arranged);
}

BENCHMARK(OnTmp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(OnFatImage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
