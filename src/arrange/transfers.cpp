#include "arrange/transfers.h"

#include "arrange/track_loading.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <optional>

namespace tralvo {
namespace {

template <typename Names>
std::optional<std::size_t> FindIgnoringCase(const Names& names, const std::string& name) {
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& other) {
        return EqualsIgnoringCase(other, name);
    });
    if (found == names.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - names.begin());
}

std::optional<std::size_t> FindTrackShowing(const TrackItems& tracks, const std::string& name) {
    const TrackList& list = tracks.Tracks();
    for (std::size_t index = 0; index < list.size(); ++index) {
        if (EqualsIgnoringCase(list[index].display, name)) {
            return index;
        }
    }
    return std::nullopt;
}

// The track a file of this name overwrites: the one that shows the name or, failing that,
// the one whose file bears it (under file-name order the file may carry an order prefix).
std::optional<std::size_t> FindTrackReplacedBy(const TrackItems& tracks, const std::string& name) {
    if (const auto shown = FindTrackShowing(tracks, name)) {
        return shown;
    }
    for (std::size_t index = 0; index < tracks.Count(); ++index) {
        if (EqualsIgnoringCase(BaseName(tracks.PathOf(index)), name)) {
            return index;
        }
    }
    return std::nullopt;
}

std::vector<std::size_t> SortedRows(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

UploadPlan PlanUpload(const std::vector<std::string>& names, const std::string& computerFolder,
                      const std::string& playerFolder, const TrackItems& tracks, FileSystem& fs) {
    UploadPlan plan;
    const std::string from = FolderWithSlash(computerFolder);
    const std::string to = FolderWithSlash(playerFolder);
    for (const std::string& name : names) {
        const std::string source = from + name;
        if (!fs.FileExists(source)) {
            continue;
        }
        if (const auto track = FindTrackReplacedBy(tracks, name)) {
            plan.sources.push_back(source);
            plan.targets.push_back(tracks.PathOf(*track));
            plan.replaced.push_back(tracks.Tracks()[*track].display);
        } else if (const auto earlier = FindIgnoringCase(plan.added, name)) {
            // Two names that differ only in case are one file on a player's FAT volume: the
            // second copy goes onto the first and asks before it replaces it.
            plan.sources.push_back(source);
            plan.targets.push_back(to + plan.added[*earlier]);
        } else {
            plan.sources.push_back(source);
            plan.targets.push_back(to + name);
            plan.added.push_back(name);
        }
    }
    return plan;
}

DownloadPlan PlanDownload(const std::vector<std::size_t>& rows, const TrackItems& tracks,
                          const std::string& computerFolder, const NameItems& files,
                          FileSystem& fs) {
    DownloadPlan plan;
    const std::string to = FolderWithSlash(computerFolder);
    std::vector<std::string> given; // the names given to the copies so far
    for (const std::size_t row : rows) {
        if (row >= tracks.Count()) {
            continue;
        }
        const std::string path = tracks.PathOf(row);
        if (!fs.FileExists(path)) {
            continue;
        }
        std::string name = tracks.Tracks()[row].display;
        if (FindIgnoringCase(given, name)) {
            name = BaseName(path);
        }
        if (const auto shown = FindIgnoringCase(files.Names(), name)) {
            // The file the list shows, in the spelling it has, so that the copy replaces it
            // (after asking) rather than lying beside it under another case.
            name = files.Names()[*shown];
        } else if (!FindIgnoringCase(plan.newNames, name)) {
            plan.newNames.push_back(name);
        }
        given.push_back(name);
        plan.sources.push_back(path);
        plan.targets.push_back(to + name);
    }
    return plan;
}

bool UploadFiles(const std::vector<std::string>& names, const std::string& computerFolder,
                 const std::string& playerFolder, TrackItems& tracks, ShellFileOperation& shell,
                 FileSystem& fs) {
    if (names.empty() || !fs.FolderExists(playerFolder)) {
        return false;
    }
    const UploadPlan plan = PlanUpload(names, computerFolder, playerFolder, tracks, fs);
    if (!plan.sources.empty()) {
        shell.Copy(plan.sources, plan.targets);
    }

    for (const std::string& display : plan.replaced) {
        const auto track = FindTrackShowing(tracks, display);
        if (!track) {
            continue;
        }
        const std::string path = tracks.PathOf(*track);
        if (fs.FileExists(path)) {
            tracks.RenewFile(*track, std::make_unique<media::SoundFile>(path, fs));
        } else {
            tracks.Remove(*track);
        }
    }
    bool appended = false;
    const std::string to = FolderWithSlash(playerFolder);
    for (const std::string& name : plan.added) {
        const std::string path = to + name;
        if (fs.FileExists(path)) {
            tracks.Append({name, std::make_unique<media::SoundFile>(path, fs)});
            appended = true;
        }
    }
    return appended;
}

void DownloadTracks(const std::vector<std::size_t>& rows, const TrackItems& tracks,
                    const std::string& computerFolder, NameItems& files, ShellFileOperation& shell,
                    FileSystem& fs) {
    if (rows.empty() || !fs.FolderExists(computerFolder)) {
        return;
    }
    const DownloadPlan plan = PlanDownload(rows, tracks, computerFolder, files, fs);
    if (plan.sources.empty()) {
        return;
    }
    shell.Copy(plan.sources, plan.targets);
    const std::string to = FolderWithSlash(computerFolder);
    for (const std::string& name : plan.newNames) {
        if (fs.FileExists(to + name)) {
            files.Append(name);
        }
    }
}

void DeleteItems(const std::vector<std::size_t>& rows, FileItemList& items,
                 const std::string& playingFile, const std::function<void()>& stopPlayback,
                 ShellFileOperation& shell, FileSystem& fs) {
    const std::vector<std::size_t> selected = SortedRows(rows);
    const std::string playing = ToLowerAscii(playingFile);
    bool stopped = false;
    std::vector<std::string> paths;
    for (const std::size_t row : selected) {
        if (row >= items.Count()) {
            continue;
        }
        std::string path = items.PathOf(row);
        if (!stopped && !playing.empty() && ToLowerAscii(path) == playing) {
            if (stopPlayback) {
                stopPlayback();
            }
            stopped = true;
        }
        paths.push_back(std::move(path));
    }
    if (paths.empty()) {
        return;
    }
    shell.Delete(paths);
    // From the end, so that the rows still to look at keep their numbers.
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        if (*row < items.Count() && !fs.FileExists(items.PathOf(*row))) {
            items.Remove(*row);
        }
    }
}

} // namespace tralvo
