#include "arrange/journal_store.h"

#include "platform/atomic_file.h"
#include "platform/unique_fd.h"
#include "platform/user_folders.h"
#include "platform/volume_identity.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tralvo {

namespace {

// Larger than any journal of a real folder; a bigger file is not one of ours.
constexpr std::size_t MaxJournalSize = 64 * 1024 * 1024;

Status SystemFailure(int code, const std::string& what) {
    return Status::Failure(code, what + ": " + std::generic_category().message(code));
}

// A rename or removal lasts only once the folder's own entry is on disk.
Status SyncFolder(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || ::fsync(fd.get()) != 0) {
        return SystemFailure(errno, "sync folder " + folder);
    }
    return Status::Ok();
}

} // namespace

std::string UserStateFolder() {
    const std::string state = UserBaseFolder("XDG_STATE_HOME", ".local/state");
    return state.empty() ? std::string() : state + "/tralvo";
}

std::string StateFolderJournals::Folder() const {
    return stateFolder_.empty() ? UserStateFolder() : stateFolder_;
}

Status StateFolderJournals::MakeStateFolder() const {
    const std::string state = Folder();
    if (state.empty()) {
        return Status::Failure(ENOENT, "no state folder: neither XDG_STATE_HOME nor HOME is set");
    }
    return MakePrivateFolders(state);
}

FolderKey KeyOfFolder(const std::string& folder) {
    const std::optional<VolumeIdentity> volume = IdentifyVolume(folder);
    if (!volume) {
        return {};
    }
    std::string below = volume->path.substr(volume->root == "/" ? 0 : volume->root.size());
    if (below.empty() || below.back() != '/') {
        below += '/';
    }
    return {volume->id, below};
}

Status JournalStore::Lock(const std::string& /*folder*/, FolderLock& held) {
    held.Reset();
    return Status::Ok();
}

namespace {

std::string JournalFileName(std::string_view key, const char* suffix) {
    char name[40];
    std::snprintf(name, sizeof name, "%016llx.%s", static_cast<unsigned long long>(Fnv1a64(key)),
                  suffix);
    return name;
}

} // namespace

std::vector<std::string> StateFolderJournals::Places(const std::string& folder) {
    const std::string state = Folder();
    const std::string prefix = state.empty() ? std::string() : state + "/";
    std::vector<std::string> places;
    if (const FolderKey key = KeyOfFolder(folder); !key.volume.empty()) {
        places.push_back(
            prefix + JournalFileName("volume\t" + key.volume + "\t" + key.belowRoot, "journal"));
    }
    places.push_back(prefix + JournalFileName(folder, "journal"));
    return places;
}

std::string StateFolderJournals::Found(const std::string& folder) {
    const std::vector<std::string> places = Places(folder);
    for (const std::string& place : places) {
        struct stat info {};
        if (::lstat(place.c_str(), &info) == 0) {
            return place;
        }
    }
    return places.front();
}

std::string StateFolderJournals::PathOf(const std::string& folder) {
    return Places(folder).front();
}

Status StateFolderJournals::Write(const std::string& folder, const std::string& text) {
    if (Status made = MakeStateFolder(); !made) {
        return made;
    }
    // The state folder is the user's alone (0700); the journal is replaced as one step.
    const std::vector<std::string> places = Places(folder);
    Status written = WriteFileAtomically(places.front(), text);
    if (written) {
        // An older journal of the same folder, filed by its path, is superseded.
        for (std::size_t i = 1; i < places.size(); ++i) {
            ::unlink(places[i].c_str());
        }
    }
    return written;
}

Status StateFolderJournals::Read(const std::string& folder, std::string& text) {
    text.clear();
    const std::string path = Found(folder);
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid()) {
        return SystemFailure(errno, "open " + path);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemFailure(errno, "read " + path);
        }
        if (count == 0) {
            return Status::Ok();
        }
        if (text.size() + static_cast<std::size_t>(count) > MaxJournalSize) {
            text.clear();
            return Status::Failure(EFBIG, "read " + path + ": too large for a journal");
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

Status StateFolderJournals::Remove(const std::string& folder) {
    const std::string path = Found(folder);
    if (::unlink(path.c_str()) != 0) {
        return errno == ENOENT ? Status::Ok() : SystemFailure(errno, "remove " + path);
    }
    return SyncFolder(Folder());
}

namespace {

// The locks this process holds, by lock file. Open-file-description locks conflict between
// two opens of one file even within a process: the process keeps one open per lock and
// counts who holds it.
struct HeldLocks {
    std::mutex mutex;
    std::map<std::string, std::pair<UniqueFd, int>> byPath;
};

HeldLocks& ProcessLocks() {
    static HeldLocks locks;
    return locks;
}

// The whole file, as a lock that a process holds until it closes the file or ends.
bool LockWholeFile(int fd, int command, short type, struct flock& lock) {
    lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, command, &lock) == 0;
}

} // namespace

std::string StateFolderJournals::LockPathOf(const std::string& folder) {
    // Named as the journal's file, so that every name the folder is reached by meets here.
    std::string path = PathOf(folder);
    path.replace(path.size() - std::string_view("journal").size(), std::string::npos, "lock");
    return path;
}

Status StateFolderJournals::Lock(const std::string& folder, FolderLock& held) {
    held.Reset();
    if (Status made = MakeStateFolder(); !made) {
        return made;
    }
    const std::string path = LockPathOf(folder);
    HeldLocks& locks = ProcessLocks();
    const std::lock_guard<std::mutex> guard(locks.mutex);
    auto found = locks.byPath.find(path);
    if (found == locks.byPath.end()) {
        UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.valid()) {
            return SystemFailure(errno, "open " + path);
        }
        struct flock lock {};
        if (!LockWholeFile(fd.get(), F_OFD_SETLK, F_WRLCK, lock)) {
            const int error = errno == EACCES || errno == EAGAIN ? EWOULDBLOCK : errno;
            return SystemFailure(error, "lock " + path);
        }
        found = locks.byPath.emplace(path, std::make_pair(std::move(fd), 0)).first;
    }
    ++found->second.second;
    held = FolderLock([path] {
        HeldLocks& process = ProcessLocks();
        const std::lock_guard<std::mutex> release(process.mutex);
        const auto lock = process.byPath.find(path);
        if (lock != process.byPath.end() && --lock->second.second == 0) {
            process.byPath.erase(lock);
        }
    });
    return Status::Ok();
}

bool StateFolderJournals::HeldElsewhere(const std::string& folder) {
    const std::string path = LockPathOf(folder);
    HeldLocks& locks = ProcessLocks();
    {
        const std::lock_guard<std::mutex> guard(locks.mutex);
        if (locks.byPath.contains(path)) {
            return false; // this process's own run
        }
    }
    // Asked without taking it, so that a run starting now is never turned away by a look.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct flock lock {};
    return fd.valid() && LockWholeFile(fd.get(), F_OFD_GETLK, F_WRLCK, lock) &&
           lock.l_type != F_UNLCK;
}

Status ReadJournalOf(const std::string& folder, JournalStore& journals, RunJournal& journal) {
    std::string text;
    if (Status read = journals.Read(folder, text); !read) {
        return read;
    }
    std::optional<RunJournal> parsed = ParseJournal(text);
    if (!parsed) {
        return Status::Failure(GarbledJournalCode,
                               "read " + journals.PathOf(folder) + ": not a complete journal");
    }
    if (parsed->folder != folder) {
        const FolderKey key = parsed->volume.empty() ? FolderKey{} : KeyOfFolder(folder);
        if (key.volume.empty() || key.volume != parsed->volume ||
            key.belowRoot != parsed->belowRoot) {
            return Status::Failure(GarbledJournalCode, "read " + journals.PathOf(folder) +
                                                           ": the journal of " + parsed->folder);
        }
        parsed->folder = folder;
    }
    journal = std::move(*parsed);
    return Status::Ok();
}

JournalStore& UserJournals() {
    static StateFolderJournals journals;
    return journals;
}

} // namespace tralvo
