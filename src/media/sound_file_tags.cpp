#include "media/id3v2/id3v2_tag.h"
#include "media/sound_file.h"
#include "platform/regular_file.h"
#include "platform/text.h"
#include "playback/audio_engine.h"

#include <array>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tralvo::media {

namespace {

std::string TextFrame(Tid3v2tag& tag, std::string_view id, bool& present) {
    std::string text;
    present = tag.GetTextFrame(id, text) == id3v2_read::Ok;
    return present ? TrimTagText(text) : std::string();
}

std::string TextFrame(Tid3v2tag& tag, std::string_view id) {
    bool present = false;
    return TextFrame(tag, id, present);
}

// "TYER" whole; else the year part of the release or original release time.
std::string YearOf(Tid3v2tag& tag) {
    bool present = false;
    std::string year = TextFrame(tag, "TYER", present);
    if (present) {
        return year;
    }
    for (const std::string_view id : {"TDRL", "TDOR"}) {
        year = TextFrame(tag, id, present);
        if (present) {
            return year.substr(0, 4);
        }
    }
    return {};
}

// A field of an ID3v1 tag: cut at its first NUL, trimmed.
std::string Id3v1Field(const std::array<char, 128>& tag, std::size_t offset, std::size_t length) {
    const std::string_view field(tag.data() + offset, length);
    return TrimTagText(field.substr(0, field.find('\0')));
}

// The entries of an engine tag block: NUL-terminated strings up to the first empty one.
std::vector<std::string_view> SplitTagBlock(const char* block) {
    std::vector<std::string_view> entries;
    while (block != nullptr && *block != '\0') {
        const std::string_view entry(block);
        entries.push_back(entry);
        block += entry.size() + 1;
    }
    return entries;
}

// Vorbis comments: the value of the first "name=value" entry whose name matches without
// regard to case.
std::string VorbisValue(const std::vector<std::string_view>& entries, std::string_view key) {
    for (const std::string_view entry : entries) {
        const std::size_t equals = entry.find('=');
        if (EqualsIgnoringCase(entry.substr(0, equals), key)) {
            return equals == std::string_view::npos ? std::string()
                                                    : std::string(entry.substr(equals + 1));
        }
    }
    return {};
}

// WMA attributes: the value of the first "name : value" entry with exactly this name.
std::string WmaValue(const std::vector<std::string_view>& entries, std::string_view key) {
    const std::string prefix = std::string(key) + " : ";
    for (const std::string_view entry : entries) {
        if (entry.starts_with(prefix)) {
            return TrimTagText(entry.substr(prefix.size()));
        }
    }
    return {};
}

} // namespace

bool TSoundFile::ReadId3v2() const {
    try {
        Tid3v2tag tag;
        if (tag.LoadFromFile(fileName_, 0) != id3v2_result::Ok) {
            ClearTags();
            return false;
        }
        hasTag_ = true;
        title_ = TextFrame(tag, "TIT2");
        artist_ = TextFrame(tag, "TPE1");
        album_ = TextFrame(tag, "TALB");
        year_ = YearOf(tag);
        TagComment comment;
        comment_ = tag.GetComment(comment, "", "None") == id3v2_read::Ok ? TrimTagText(comment.text)
                                                                         : std::string();
        bool present = false;
        const std::string track = TextFrame(tag, "TRCK", present);
        if (present) {
            trackNumber_ = ConvertTrackNumber(track);
        }
        return true;
    } catch (...) {
        ClearTags();
        return false;
    }
}

void TSoundFile::ReadId3v1() const {
    ClearTags();
    const UniqueFd fd = OpenRegularFile(fileName_, O_RDONLY);
    std::array<char, 128> tag{};
    struct stat info {};
    const bool read = fd.valid() && ::fstat(fd.get(), &info) == 0 && info.st_size >= 128 &&
                      ::pread(fd.get(), tag.data(), tag.size(), info.st_size - 128) == 128;
    if (!read || std::memcmp(tag.data(), "TAG", 3) != 0) {
        return;
    }
    hasTag_ = true;
    title_ = Id3v1Field(tag, 3, 30);
    artist_ = Id3v1Field(tag, 33, 30);
    album_ = Id3v1Field(tag, 63, 30);
    year_ = Id3v1Field(tag, 93, 4);
    comment_ = Id3v1Field(tag, 97, 30);
    // ID3v1.1 keeps the track in the comment's last byte, behind a zero.
    trackNumber_ = tag[125] == 0 ? static_cast<unsigned char>(tag[126]) : 0;
}

void TSoundFile::ReadEngineTags() const {
    ClearTags();
    playback::AudioEngine& engine = playback::Engine();
    // While the preview player holds the engine this fails and the player's engine is used
    // as it is. Tags need no sound, so a machine without an output device reads them
    // through the silent device.
    bool initialised = engine.Init(playback::FirstOutputDevice, 44100, 0, nullptr, nullptr);
    if (!initialised && engine.ErrorGetCode() != playback::ErrorAlready) {
        initialised = engine.Init(playback::NoSoundDevice, 44100, 0, nullptr, nullptr);
    }
    const bool wma = kind_ == KindWma;
    const playback::StreamHandle stream =
        wma ? engine.WmaStreamCreateFile(false, fileName_, 0, 0, 0)
            : engine.StreamCreateFile(false, fileName_, 0, 0, 0);
    if (stream != 0) {
        const char* block = engine.ChannelGetTags(stream, wma ? playback::TagsWmaAttributes
                                                              : playback::TagsVorbisComments);
        if (block != nullptr) {
            const std::vector<std::string_view> entries = SplitTagBlock(block);
            hasTag_ = true;
            if (wma) {
                title_ = WmaValue(entries, "Title");
                artist_ = WmaValue(entries, "Author");
                album_ = WmaValue(entries, "WM/AlbumTitle");
                year_ = WmaValue(entries, "WM/Year");
                trackNumber_ = ConvertTrackNumber(WmaValue(entries, "WM/TrackNumber"));
            } else {
                title_ = TrimTagText(VorbisValue(entries, "TITLE"));
                artist_ = TrimTagText(VorbisValue(entries, "ARTIST"));
                album_ = TrimTagText(VorbisValue(entries, "ALBUM"));
                year_ = TrimTagText(VorbisValue(entries, "DATE"));
                comment_ = TrimTagText(VorbisValue(entries, "COMMENT"));
                trackNumber_ = ConvertTrackNumber(VorbisValue(entries, "TRACKNUMBER"));
            }
        }
        engine.StreamFree(stream);
    }
    if (initialised) {
        engine.Free();
    }
}

} // namespace tralvo::media
