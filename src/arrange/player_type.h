#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tralvo {

// The order a player plays a folder in, and so the strategy that arranges it. The settings
// file, the journal and tralvo-cli's "--type N" keep it as the number in brackets.
enum class PlayerType : std::uint8_t {
    DirectoryOrder = 0, // the order of the directory entries
    FileNames = 1,      // the file names (or their short 8.3 names)
    CreationTimes = 2,  // the files' creation times
};

inline constexpr std::array<PlayerType, 3> AllPlayerTypes = {
    PlayerType::DirectoryOrder, PlayerType::FileNames, PlayerType::CreationTimes};

// How a player orders a folder: its type, and for file names whether it reads the short 8.3
// names.
struct PlayerOrder {
    PlayerType type = PlayerType::DirectoryOrder;
    bool only83FileNames = false;

    bool operator==(const PlayerOrder&) const = default;
};

// The number a player type is stored and given as, and back; nothing for a number that names
// no type.
constexpr int PlayerTypeNumber(PlayerType type) {
    return static_cast<int>(type);
}
constexpr std::optional<PlayerType> PlayerTypeFromNumber(int number) {
    if (number < 0 || number >= static_cast<int>(AllPlayerTypes.size())) {
        return std::nullopt;
    }
    return static_cast<PlayerType>(number);
}

} // namespace tralvo
