#pragma once

#include "arrange/run_journal.h"
#include "platform/fnv.h"
#include "platform/status.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tralvo {

// What a folder's journal is filed under: the identity of its volume and the folder below the
// volume's root (ending in '/'), so that a player mounted again elsewhere finds its journal.
// The volume is empty when it has no lasting identity; the folder's path names it then.
struct FolderKey {
    std::string volume;
    std::string belowRoot;
};
FolderKey KeyOfFolder(const std::string& folder);

// Held while a run, an undo or a recovery changes a folder; lets go when it goes.
class FolderLock {
public:
    FolderLock() = default;
    explicit FolderLock(std::function<void()> release) : release_(std::move(release)) {}
    ~FolderLock() { Reset(); }
    FolderLock(FolderLock&& other) noexcept : release_(std::exchange(other.release_, {})) {}
    FolderLock& operator=(FolderLock&& other) noexcept {
        if (this != &other) {
            Reset();
            release_ = std::exchange(other.release_, {});
        }
        return *this;
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    void Reset() {
        if (release_) {
            std::exchange(release_, {})();
        }
    }

private:
    std::function<void()> release_;
};

// Where the run journals lie: one file per player folder, outside every player folder, since
// a file in the folder itself would be one of its entries and change the order the player
// sees. Folders are named as given; callers pass them ending in '/'.
class JournalStore {
public:
    virtual ~JournalStore() = default;

    // The journal's file, for messages.
    virtual std::string PathOf(const std::string& folder) = 0;
    // Replaces the folder's journal by text as one step: a reader finds the old journal or
    // the new one, complete, even when the process or the machine stops halfway.
    virtual Status Write(const std::string& folder, const std::string& text) = 0;
    // Fails with ENOENT when the folder has none.
    virtual Status Read(const std::string& folder, std::string& text) = 0;
    // Succeeds when there is none.
    virtual Status Remove(const std::string& folder) = 0;
    // Keeps every other process from changing folder through a store of the same place while
    // held lives; the kernel lets go when the process ends however it ends. Within a process
    // it may be taken again (an undo runs the arrange of its own). Fails with EWOULDBLOCK
    // when another process holds it. A store without locks always succeeds.
    virtual Status Lock(const std::string& folder, FolderLock& held);
    // Whether another process holds folder's lock now: what looks like an interrupted run's
    // leftovers is a run going on. Asks without taking the lock.
    virtual bool HeldElsewhere(const std::string& /*folder*/) { return false; }
};

// Journals in a state folder: the folder given, or else the user's, found anew at each call
// ($XDG_STATE_HOME/tralvo, else ~/.local/state/tralvo). The folder is made with mode 0700.
class StateFolderJournals : public JournalStore {
public:
    StateFolderJournals() = default;
    explicit StateFolderJournals(std::string stateFolder) : stateFolder_(std::move(stateFolder)) {}

    std::string PathOf(const std::string& folder) override;
    Status Write(const std::string& folder, const std::string& text) override;
    Status Read(const std::string& folder, std::string& text) override;
    Status Remove(const std::string& folder) override;
    Status Lock(const std::string& folder, FolderLock& held) override;
    bool HeldElsewhere(const std::string& folder) override;

private:
    std::string Folder() const;
    // The state folder, made with its parents where missing.
    Status MakeStateFolder() const;
    // The journal's file under the folder's volume key, then under its path alone (where the
    // journals of volumes without identity, and of earlier versions, lie).
    std::vector<std::string> Places(const std::string& folder);
    std::string Found(const std::string& folder);
    std::string LockPathOf(const std::string& folder);
    std::string stateFolder_;
};

// The code ReadJournalOf fails with when the folder has a journal that is unreadable or
// another folder's: unlike a missing one, it says that a run may have been cut off there.
constexpr int GarbledJournalCode = EBADMSG;

// The journal kept for folder (ending in '/'). One written for the same folder of the same
// volume mounted elsewhere is taken as this folder's, its folder made the one given. Fails as
// the store's Read does (ENOENT when there is none), or with GarbledJournalCode.
Status ReadJournalOf(const std::string& folder, JournalStore& journals, RunJournal& journal);

// The user's journals, as the program and the command-line tool keep them.
JournalStore& UserJournals();

// The user's state folder for Tralvo from the environment; empty when neither XDG_STATE_HOME
// nor a home folder is known. Relative values are ignored, as the XDG rules say.
std::string UserStateFolder();

} // namespace tralvo
