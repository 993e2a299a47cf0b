#pragma once

#include "arrange/player_type.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/status.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tralvo {

// A folder of three short spoken tracks ("one", "two", "three") whose directory order, name
// order and creation order each start with another word, so that the word a player plays first
// tells its type. Each order puts every word at another place (a Latin square), so the second
// word heard tells it too.
inline constexpr const char* OrderProbeFolderName = "TRALVO_PROBE";
// Where the tracks are made, in creation order, before they move into the probe folder in
// directory order: a rename keeps a file's creation time.
inline constexpr const char* OrderProbeStagingFolderName = "TRALVO_PROBE.TMP";

enum class ProbeWord : std::uint8_t { One = 0, Two = 1, Three = 2 };

// The three sound files to write, word by word: "one", "two", "three" in the user's language.
struct ProbeSounds {
    std::array<std::string, 3> files; // absolute paths
};

// The sounds shipped for a language code ("en", "de", "fr", in either letter case) in the data
// folder given (with a trailing '/'): probe/CODE/one.mp3, two.mp3 and three.mp3. English when
// that language has none; nothing when no complete set is found.
std::optional<ProbeSounds> FindProbeSounds(const std::string& dataFolder,
                                           const std::string& languageCode, FileSystem& fs);

// Writes root + OrderProbeFolderName + '/'. A probe folder left from an earlier time is
// replaced when it holds only probe files; a folder of that name holding anything else is left
// alone and the write is refused (EEXIST). Waits between the tracks for the volume's
// creation-time step (a few seconds on FAT). A sound that is missing refuses the write before
// anything changes (ENOENT). On a failure nothing of the probe is left behind.
Status WriteOrderProbe(const std::string& root, const ProbeSounds& sounds, FileSystem& fs,
                       Clock& clock = SystemClock());

// Removes the probe folder and the probe files in it, never anything else; ok when there is
// no probe folder. A folder of that name that holds anything besides probe files may be the
// user's own: it is left as it is, and the removal refused (EEXIST). The same goes for the
// folder the probe is made in, should a write have been cut off.
Status RemoveOrderProbe(const std::string& root, FileSystem& fs);

// The player type of a player that played word first.
PlayerType PlayerTypeForFirstWord(ProbeWord word);

// The words in the order a player of type plays the probe folder.
std::array<ProbeWord, 3> ProbeOrder(PlayerType type);

// The name of word's track in the probe folder: an 8.3 name in capitals, so that players that
// read long names and players that read short ones sort alike, and FAT keeps no long name.
std::string_view ProbeFileName(ProbeWord word);

} // namespace tralvo
