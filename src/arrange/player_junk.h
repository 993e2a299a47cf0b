#pragma once

#include "platform/file_system.h"
#include "platform/status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

// What computers leave in a player folder and players trip over: a Mac's "._" companions
// (AppleDouble magic checked), ".DS_Store" and its folders ".Trashes", ".Spotlight-V100",
// ".fseventsd" and ".TemporaryItems", Windows' "Thumbs.db" and "desktop.ini". Nothing else
// is ever junk, and a symbolic link never is, whatever its name.
struct JunkEntry {
    std::string name;       // bare name of an entry of the folder
    bool isFolder = false;  // goes with everything in it
    std::uint64_t size = 0; // a folder's: all its files and links, at every depth
};

// The junk among folder's own entries (not its subfolders'), in the order the file system
// lists them. Names compare as the folder's file system compares them: in any letter case
// where it folds case. Links are neither followed nor listed. A folder that cannot be read
// gives none.
std::vector<JunkEntry> FindPlayerJunk(const std::string& folder, FileSystem& fs);

// Whether FindPlayerJunk would list anything, without adding up sizes.
bool HoldsPlayerJunk(const std::string& folder, FileSystem& fs);

std::uint64_t TotalSize(const std::vector<JunkEntry>& junk);

struct JunkKept {
    enum class Reason {
        Changed,    // no longer what it was listed as (another kind, a link, no companion)
        NotRemoved, // the removal failed: status says why
    };
    std::string name;
    Reason reason = Reason::Changed;
    Status status;
};

struct JunkRemoval {
    std::vector<std::string> removed;
    std::vector<std::string> gone; // no longer there when their turn came
    std::vector<JunkKept> kept;
    // Whether every entry listed is gone now.
    bool complete() const { return kept.empty(); }
};

// Removes the entries of junk (as FindPlayerJunk listed them) from folder for good, folders
// with everything in them, links inside them removed, never followed. Each entry is looked at
// again just before it goes, and kept unless it is still there as the junk it was listed as;
// a failure keeps that entry and the others go on. Nothing outside folder is touched.
JunkRemoval RemovePlayerJunk(const std::string& folder, const std::vector<JunkEntry>& junk,
                             FileSystem& fs);

} // namespace tralvo
