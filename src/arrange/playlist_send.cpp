#include "arrange/playlist_send.h"

#include "arrange/playlist_order.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unicode_compose.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tralvo {

namespace {

// The bytes a copy of path would hold: a link counts by the file it leads to, as a copy
// follows it.
std::optional<ContentId> ContentOf(const std::string& path, FileSystem& fs) {
    ContentId id;
    if (!fs.ReadContentId(path, id).ok()) {
        return std::nullopt;
    }
    if (id.link) {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::canonical(path, error);
        if (error || !fs.ReadContentId(file.string(), id).ok() || id.link) {
            return std::nullopt;
        }
    }
    return id;
}

// Only a file of bytes can be sent: a pipe or a device would never end a copy.
bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool SameContent(const std::string& a, const std::string& b, FileSystem& fs) {
    const std::optional<ContentId> first = ContentOf(a, fs);
    return first && first == ContentOf(b, fs);
}

// The file a playlist entry names on the computer, whether the playlist and the file's name
// write accented letters composed or decomposed; empty when there is none.
std::string SourceFile(const std::string& folder, const std::string& name, FileSystem& fs) {
    for (const std::string& spelling : {name, ComposedUtf8(name), DecomposedUtf8(name)}) {
        if (fs.FileExists(folder + spelling)) {
            return folder + spelling;
        }
    }
    return {};
}

} // namespace

PlaylistSendPlan PlanPlaylistSend(const std::vector<std::string>& entries,
                                  const std::string& playlistFolder,
                                  const std::string& playerFolder, const TrackList& tracks,
                                  FileSystem& fs) {
    const std::string to = FolderWithSlash(playerFolder);
    const bool foldsCase = fs.FoldsCase(playerFolder);
    // A Mac writes "é" as "e" and a combining accent, other systems as one letter.
    const auto sameName = [&](std::string_view a, std::string_view b) {
        const std::string first = ComposedUtf8(a);
        const std::string second = ComposedUtf8(b);
        return foldsCase ? EqualsIgnoringCase(first, second) : first == second;
    };
    // Where the folder holds name already: the track showing it or its file, else the entry.
    const auto holder = [&](const std::string& name) -> std::optional<std::string> {
        for (const TrackEntry& track : tracks) {
            if (track.file && (sameName(track.display, name) ||
                               sameName(BaseName(track.file->FileName()), name))) {
                return track.file->FileName();
            }
        }
        if (fs.EntryExists(to + name)) {
            return to + name;
        }
        return std::nullopt;
    };
    PlaylistSendPlan plan;
    for (const std::string& entry : entries) {
        const std::string name(BaseName(entry));
        const std::string folder = FolderOfPlaylistEntry(entry, playlistFolder);
        if (sameName(folder, to) && !name.empty()) {
            // Named in the player folder itself: there already, perhaps under an order prefix
            // it has taken since the playlist was written.
            if (!holder(name)) {
                plan.missing.push_back(entry);
            }
            continue;
        }
        const std::string source = SourceFile(folder, name, fs);
        if (name.empty() || name == "." || name == ".." || source.empty() ||
            !IsRegularFile(source)) {
            plan.missing.push_back(entry);
            continue;
        }
        const auto earlier =
            std::find_if(plan.copies.begin(), plan.copies.end(), [&](const FileToSend& copy) {
                return sameName(BaseName(copy.target), name);
            });
        if (earlier != plan.copies.end()) {
            // The copy planned for this name brings these bytes already, or this one replaces it.
            if (!SameContent(earlier->source, source, fs)) {
                FileToSend again{source, earlier->target, true};
                plan.copies.push_back(std::move(again));
            }
            continue;
        }
        const std::optional<std::string> held = holder(name);
        if (!held) {
            // Under the file's own spelling, which the computer shows too.
            plan.copies.push_back({source, to + std::string(BaseName(source)), false});
        } else if (!fs.FileExists(*held) || !SameContent(source, *held, fs)) {
            plan.copies.push_back({source, *held, true});
        }
    }
    return plan;
}

} // namespace tralvo
