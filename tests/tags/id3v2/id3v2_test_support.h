#pragma once

#include "media/writers/id3v2_writer.h"
#include "support/temp_folder.h"
#include "tags/id3v2/id3v2_tag.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace tralvo::test {

struct LoadedTag {
    std::uint16_t result = 0xFFFF;
    tags::Id3v2Tag tag;
};

// Loads bytes written to a real file, the tag looked for at startOffset.
inline LoadedTag LoadBytes(const Bytes& bytes, std::uint32_t startOffset = 0) {
    TempFolder folder;
    LoadedTag loaded;
    loaded.result =
        loaded.tag.LoadFromFile(folder.WriteFile("song.mp3", AsString(bytes)), startOffset);
    return loaded;
}

inline LoadedTag LoadTag(const Id3v2TagWriter& writer) {
    return LoadBytes(Mp3File(writer.Build()));
}

struct TextResult {
    std::uint8_t result;
    std::string text;
    bool operator==(const TextResult&) const = default;
};

inline TextResult TextOf(tags::Id3v2Tag& tag, std::string_view id) {
    TextResult read{};
    read.result = tag.GetTextFrame(id, read.text);
    return read;
}

inline void PrintTo(const TextResult& read, std::ostream* out) {
    *out << "{" << int{read.result} << ", \"" << read.text << "\"}";
}

} // namespace tralvo::test
