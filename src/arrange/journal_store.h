#pragma once

#include "platform/status.h"

#include <cstdint>
#include <string>

namespace tralvo {

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

private:
    std::string Folder() const;
    std::string stateFolder_;
};

// The user's journals, as the program and the command-line tool keep them.
JournalStore& UserJournals();

// The user's state folder for Tralvo from the environment; empty when neither XDG_STATE_HOME
// nor a home folder is known. Relative values are ignored, as the XDG rules say.
std::string UserStateFolder();

// 64-bit FNV-1a of the bytes: names a folder's journal.
std::uint64_t Fnv1a64(std::string_view bytes);

} // namespace tralvo
