#include "arrange/order_probe.h"

#include "arrange/strategies.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace tralvo {

namespace {

using Words = std::array<ProbeWord, 3>;

constexpr Words DirectoryOrderWords = {ProbeWord::One, ProbeWord::Two, ProbeWord::Three};
constexpr Words NameOrderWords = {ProbeWord::Two, ProbeWord::Three, ProbeWord::One};
constexpr Words CreationOrderWords = {ProbeWord::Three, ProbeWord::One, ProbeWord::Two};

// Name order two, three, one.
constexpr std::array<std::string_view, 3> FileNames = {"C.MP3", "A.MP3", "B.MP3"};
constexpr std::array<std::string_view, 3> SoundNames = {"one.mp3", "two.mp3", "three.mp3"};

std::size_t Index(ProbeWord word) {
    return static_cast<std::size_t>(word);
}

bool IsProbeFileName(std::string_view name, bool foldsCase) {
    return std::any_of(FileNames.begin(), FileNames.end(), [&](std::string_view probe) {
        return foldsCase ? EqualsIgnoringCase(name, probe) : name == probe;
    });
}

// The probe files in the folder at path, as listed; none when nothing is there. Refused when
// anything else stands there: such a folder may be the user's own.
Status ProbeFilesIn(const std::string& path, FileSystem& fs, std::vector<std::string>& names) {
    names.clear();
    if (!fs.EntryExists(path)) {
        return Status::Ok();
    }
    ContentId id;
    if (fs.ReadContentId(path, id).code() != EISDIR) {
        return Status::Failure(EEXIST, path + " is there and is no folder: left alone");
    }
    const std::string folder = FolderWithSlash(path);
    std::vector<DirectoryEntry> entries;
    if (Status status = fs.Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries);
        !status) {
        return status;
    }
    const bool foldsCase = fs.FoldsCase(folder);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isFolder || !IsProbeFileName(entry.name, foldsCase)) {
            return Status::Failure(EEXIST, path + " holds " + entry.name +
                                               ", which the probe did not write: left alone");
        }
        names.push_back(entry.name);
    }
    return Status::Ok();
}

Status RemoveProbeFolder(const std::string& path, const std::vector<std::string>& names,
                         FileSystem& fs) {
    for (const std::string& name : names) {
        if (Status status = fs.RemoveFile(path + "/" + name); !status) {
            return status;
        }
    }
    return fs.RemoveFolder(path);
}

// Both folders of the probe at root, each removed when it is there and holds probe files only;
// nothing is touched unless both may go.
Status RemoveProbeFolders(const std::string& root, FileSystem& fs) {
    const std::array<std::string, 2> paths = {root + OrderProbeStagingFolderName,
                                              root + OrderProbeFolderName};
    std::array<std::vector<std::string>, 2> names;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (Status status = ProbeFilesIn(paths[i], fs, names[i]); !status) {
            return status;
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (fs.EntryExists(paths[i])) {
            if (Status status = RemoveProbeFolder(paths[i], names[i], fs); !status) {
                return status;
            }
        }
    }
    return Status::Ok();
}

// Makes the probe, keeping account of what it made, so that a failure takes back that and
// nothing else.
class ProbeWriter {
public:
    ProbeWriter(const std::string& root, const ProbeSounds& sounds, FileSystem& fs, Clock& clock)
        : staging_(root + OrderProbeStagingFolderName), probe_(root + OrderProbeFolderName),
          root_(root), sounds_(sounds), fs_(fs), clock_(clock) {}

    Status Write() {
        if (Status status = MakeFolder(staging_); !status) {
            return status;
        }
        if (Status status = MakeInCreationOrder(); !status) {
            return status;
        }
        if (Status status = MakeFolder(probe_); !status) {
            return status;
        }
        for (const ProbeWord word : DirectoryOrderWords) {
            const std::string name(ProbeFileName(word));
            const std::string from = staging_ + '/' + name;
            const std::string to = probe_ + '/' + name;
            if (Status status = fs_.Rename(from, to); !status) {
                return status;
            }
            std::replace(files_.begin(), files_.end(), from, to);
        }
        if (Status status = fs_.RemoveFolder(staging_); !status) {
            return status;
        }
        folders_.erase(std::find(folders_.begin(), folders_.end(), staging_));
        // The user is to unplug the player next.
        if (Status status = fs_.Flush(probe_); !status) {
            return status;
        }
        return fs_.Flush(root_);
    }

    void TakeBack() {
        for (auto file = files_.rbegin(); file != files_.rend(); ++file) {
            fs_.RemoveFile(*file);
        }
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            fs_.RemoveFolder(*folder);
        }
    }

private:
    Status MakeFolder(const std::string& folder) {
        if (Status status = fs_.CreateFolder(folder); !status) {
            return status;
        }
        folders_.push_back(folder);
        return Status::Ok();
    }

    // Each track in a later step of the volume's clock than the one before: FAT keeps creation
    // times to 10 ms, but some players read only its 2-second field.
    Status MakeInCreationOrder() {
        const FileTime step = CreationTimeStep(root_, fs_);
        std::optional<FileTime> previous;
        for (const ProbeWord word : CreationOrderWords) {
            const std::string to = staging_ + '/' + std::string(ProbeFileName(word));
            SteppedCopy made =
                CopyInLaterStep(sounds_.files[Index(word)], to, previous, step, fs_, clock_);
            if (!made.copied) {
                return made.copied;
            }
            files_.push_back(to);
            if (!made.removed) {
                return made.removed;
            }
            if (previous && made.stamp / step <= *previous / step) {
                return Status::Failure(EAGAIN, to + " was stamped no later than the track "
                                                    "before it: the clock did not move on");
            }
            previous = made.stamp;
        }
        return Status::Ok();
    }

    const std::string staging_; // both without a trailing '/'
    const std::string probe_;
    const std::string& root_;
    const ProbeSounds& sounds_;
    FileSystem& fs_;
    Clock& clock_;
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
};

} // namespace

std::optional<ProbeSounds> FindProbeSounds(const std::string& dataFolder,
                                           const std::string& languageCode, FileSystem& fs) {
    const std::string code = ToLowerAscii(languageCode);
    for (const std::string& language : {code, std::string("en")}) {
        if (language.empty() || language.find('/') != std::string::npos || language == "." ||
            language == "..") {
            continue;
        }
        const std::string folder = FolderWithSlash(dataFolder) + "probe/" + language + '/';
        ProbeSounds sounds;
        for (std::size_t i = 0; i < SoundNames.size(); ++i) {
            sounds.files[i] = folder + std::string(SoundNames[i]);
        }
        if (std::all_of(sounds.files.begin(), sounds.files.end(),
                        [&](const std::string& file) { return fs.FileExists(file); })) {
            return sounds;
        }
    }
    return std::nullopt;
}

Status WriteOrderProbe(const std::string& root, const ProbeSounds& sounds, FileSystem& fs,
                       Clock& clock) {
    const std::string folder = FolderWithSlash(root);
    for (const std::string& sound : sounds.files) {
        if (!fs.FileExists(sound)) {
            return Status::Failure(ENOENT, "no sound at " + sound);
        }
    }
    if (Status status = RemoveProbeFolders(folder, fs); !status) {
        return status;
    }
    ProbeWriter writer(folder, sounds, fs, clock);
    Status status = writer.Write();
    if (!status) {
        writer.TakeBack();
    }
    return status;
}

Status RemoveOrderProbe(const std::string& root, FileSystem& fs) {
    const std::string folder = FolderWithSlash(root);
    const bool there = fs.EntryExists(folder + OrderProbeFolderName) ||
                       fs.EntryExists(folder + OrderProbeStagingFolderName);
    if (Status status = RemoveProbeFolders(folder, fs); !status || !there) {
        return status;
    }
    return fs.Flush(folder);
}

PlayerType PlayerTypeForFirstWord(ProbeWord word) {
    for (const PlayerType type : AllPlayerTypes) {
        if (ProbeOrder(type).front() == word) {
            return type;
        }
    }
    return PlayerType::DirectoryOrder;
}

std::array<ProbeWord, 3> ProbeOrder(PlayerType type) {
    switch (type) {
    case PlayerType::DirectoryOrder:
        return DirectoryOrderWords;
    case PlayerType::FileNames:
        return NameOrderWords;
    case PlayerType::CreationTimes:
        return CreationOrderWords;
    }
    return DirectoryOrderWords;
}

std::string_view ProbeFileName(ProbeWord word) {
    return FileNames[Index(word)];
}

} // namespace tralvo
