#include "settings/player_profiles.h"

#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <cstddef>

namespace tralvo {

namespace {

constexpr std::string_view SectionPrefix = "Player ";
// A hand-edited or damaged file could hold any number of sections; no one owns more players.
constexpr std::size_t MaxProfiles = 256;
// FAT labels have 11 characters and exFAT labels 15; room for what udev escapes in them.
constexpr std::size_t MaxLabelLength = 64;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string Section(std::string_view id) {
    std::string section(SectionPrefix);
    section.append(id);
    return section;
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A label is a note: control characters go, and an overlong one is cut.
std::string CleanLabel(std::string_view text) {
    std::string label;
    for (const char c : TrimBlanksAndControls(text)) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            label.push_back(c);
        }
    }
    label.resize(std::min(label.size(), MaxLabelLength));
    return label;
}

// A folder that would climb out of the volume, or that no file system would name, is
// forgotten: the player pane then starts at the root.
std::string CleanLastFolder(std::string_view text) {
    text = TrimBlanksAndControls(text);
    while (!text.empty() && text.front() == '/') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == '/') {
        text.remove_suffix(1);
    }
    if (HasControlCharacter(text)) {
        return {};
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part.empty() || part == "." || part == "..") {
            return {};
        }
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    }
    return std::string(text);
}

PlayerProfile ReadProfile(const IniFile& ini, const std::string& section, std::string id) {
    PlayerProfile profile;
    profile.id = std::move(id);
    profile.label = CleanLabel(ini.ReadString(section, "Label", ""));
    // As the global key: the low 8 bits, and a number naming no type gives the default.
    profile.type = PlayerTypeFromNumber(ini.ReadInteger(section, "Type", 0) & 0xFF)
                       .value_or(PlayerType::DirectoryOrder);
    profile.only83FileNames = ini.ReadBool(section, "Only83FileNames", false);
    profile.lastFolder = CleanLastFolder(ini.ReadString(section, "LastFolder", ""));
    return profile;
}

} // namespace

const PlayerProfile* KnownPlayers::Find(std::string_view id) const {
    const auto found =
        std::find_if(profiles.begin(), profiles.end(),
                     [id](const PlayerProfile& profile) { return profile.id == id; });
    return found == profiles.end() ? nullptr : &*found;
}

std::optional<std::string> NormalVolumeId(std::string_view text) {
    if (text.size() != 9 || text[4] != '-') {
        return std::nullopt;
    }
    std::string id;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != 4 && !IsHexDigit(text[i])) {
            return std::nullopt;
        }
        id.push_back(ToUpperAscii(text[i]));
    }
    return id;
}

KnownPlayers ReadKnownPlayers(const IniFile& ini) {
    KnownPlayers players;
    for (const std::string& section : ini.SectionNames()) {
        if (players.profiles.size() == MaxProfiles) {
            break;
        }
        if (!StartsWithIgnoringCase(section, SectionPrefix)) {
            continue;
        }
        std::optional<std::string> id = NormalVolumeId(
            TrimBlanksAndControls(std::string_view(section).substr(SectionPrefix.size())));
        // A repeated section reads as its first: the one the file's reader finds.
        if (!id || players.Find(*id) != nullptr) {
            continue;
        }
        players.profiles.push_back(ReadProfile(ini, section, std::move(*id)));
    }
    if (const std::optional<std::string> current =
            NormalVolumeId(ini.ReadString("Player", "Volume", ""))) {
        const PlayerProfile* profile = players.Find(*current);
        players.current = PlayerVolume{*current, profile != nullptr ? profile->label : "", ""};
    }
    return players;
}

void WriteKnownPlayers(IniFile& ini, const KnownPlayers& players) {
    // A file that never met a player keeps the keys it always had.
    if (players.current || ini.HasKey("Player", "Volume")) {
        ini.WriteString("Player", "Volume", players.current ? players.current->id : "");
    }
    for (const PlayerProfile& profile : players.profiles) {
        const std::string section = Section(profile.id);
        ini.WriteString(section, "Label", profile.label);
        ini.WriteInteger(section, "Type", PlayerTypeNumber(profile.type));
        ini.WriteBool(section, "Only83FileNames", profile.only83FileNames);
        ini.WriteString(section, "LastFolder", profile.lastFolder);
    }
}

std::optional<std::string> FolderBelowRoot(const std::string& root, const std::string& folder) {
    if (root.empty() || folder.empty()) {
        return std::nullopt;
    }
    const std::string base = FolderWithSlash(root);
    const std::string path = FolderWithSlash(folder);
    // Paths compare exactly: on this system "/media/Player" and "/media/player" may differ.
    if (!path.starts_with(base)) {
        return std::nullopt;
    }
    return CleanLastFolder(std::string_view(path).substr(base.size()));
}

} // namespace tralvo
