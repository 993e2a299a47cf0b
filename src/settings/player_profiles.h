#pragma once

#include "arrange/player_type.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

class IniFile;

// A player volume with a lasting identity, as found where it is mounted now.
struct PlayerVolume {
    std::string id;    // the file system's serial or UUID, upper case ("1234-ABCD")
    std::string label; // the volume's label, a note for the user; may be empty
    std::string root;  // its mount point now; empty when not known this run
};

// The player settings kept for one volume. The last folder lies below the volume's root and
// is written without it, so it holds wherever the volume is mounted next.
struct PlayerProfile {
    std::string id;
    std::string label;
    tralvo::PlayerType type = tralvo::PlayerType::DirectoryOrder;
    bool only83FileNames = false;
    std::string lastFolder; // relative, no leading or trailing '/'; empty for the root

    bool operator==(const PlayerProfile&) const = default;
};

// Every player met so far and the one whose settings the global player keys hold now.
struct KnownPlayers {
    std::optional<PlayerVolume> current;
    std::vector<PlayerProfile> profiles; // in the order the file holds them

    const PlayerProfile* Find(std::string_view id) const;
};

// A FAT or exFAT volume serial as "XXXX-XXXX" in upper case; nothing for anything else (the
// computer's own disks carry longer UUIDs and are no players).
std::optional<std::string> NormalVolumeId(std::string_view text);

// The "[Player <id>]" sections and the "Volume" key of "[Player]" that names the current
// player. Bad ids, repeated sections, out-of-range types and last folders that would leave
// the volume are repaired or left out, as the other settings are.
KnownPlayers ReadKnownPlayers(const IniFile& ini);
void WriteKnownPlayers(IniFile& ini, const KnownPlayers& players);

// Where a last folder below root lies relative to it; nothing when folder is not below root.
std::optional<std::string> FolderBelowRoot(const std::string& root, const std::string& folder);

} // namespace tralvo
