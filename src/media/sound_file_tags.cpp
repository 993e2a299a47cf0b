#include "media/sound_file.h"
#include "platform/text.h"
#include "platform/unique_fd.h"
#include "tags/file_tags.h"
#include "tags/id3v2/id3v2_tag.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tralvo::media {

namespace {

using tags::Id3v2Tag;
using tags::id3v2_read::Ok;

using Entries = std::vector<std::string>;

std::string TextFrame(Id3v2Tag& tag, std::string_view id, bool& present) {
    std::string text;
    present = tag.GetTextFrame(id, text) == Ok;
    return present ? TrimTagText(text) : std::string();
}

std::string TextFrame(Id3v2Tag& tag, std::string_view id) {
    bool present = false;
    return TextFrame(tag, id, present);
}

// "TYER" whole; else the year part of the release or original release time.
std::string YearOf(Id3v2Tag& tag) {
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

// TLEN: the length in milliseconds as decimal digits; nothing for anything else.
std::int64_t LengthOf(Id3v2Tag& tag) {
    const std::string text = TextFrame(tag, "TLEN");
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    return std::stoll(text);
}

// A field of an ID3v1 tag: cut at its first NUL, trimmed.
std::string Id3v1Field(const std::array<char, 128>& tag, std::size_t offset, std::size_t length) {
    const std::string_view field(tag.data() + offset, length);
    return TrimTagText(field.substr(0, field.find('\0')));
}

// Tags whose entries are all empty are no tags: there is nothing to show.
bool HasEntries(const std::optional<Entries>& entries) {
    return entries && std::any_of(entries->begin(), entries->end(),
                                  [](const std::string& entry) { return !entry.empty(); });
}

// Vorbis comments: the value of the first "name=value" entry whose name matches without
// regard to case.
std::string VorbisValue(const Entries& entries, std::string_view key) {
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
std::string WmaValue(const Entries& entries, std::string_view key) {
    const std::string prefix = std::string(key) + " : ";
    for (const std::string_view entry : entries) {
        if (entry.starts_with(prefix)) {
            return TrimTagText(entry.substr(prefix.size()));
        }
    }
    return {};
}

} // namespace

bool SoundFile::ReadId3v2() const {
    try {
        Id3v2Tag tag;
        if (tag.LoadFromFile(fileName_, 0) != tags::id3v2_result::Ok) {
            ClearTags();
            return false;
        }
        hasTag_ = true;
        title_ = TextFrame(tag, "TIT2");
        artist_ = TextFrame(tag, "TPE1");
        album_ = TextFrame(tag, "TALB");
        year_ = YearOf(tag);
        tags::TagComment comment;
        comment_ =
            tag.GetComment(comment, "", "None") == Ok ? TrimTagText(comment.text) : std::string();
        bool present = false;
        const std::string track = TextFrame(tag, "TRCK", present);
        if (present) {
            trackNumber_ = ConvertTrackNumber(track);
        }
        lengthInMilliseconds_ = LengthOf(tag);
        return true;
    } catch (...) {
        ClearTags();
        return false;
    }
}

void SoundFile::ReadId3v1() const {
    ClearTags();
    UniqueFd fd;
    std::array<char, 128> tag{};
    struct stat info {};
    const bool read = fs_.OpenForReading(fileName_, fd) && ::fstat(fd.get(), &info) == 0 &&
                      info.st_size >= 128 &&
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

void SoundFile::ReadTextTags() const {
    ClearTags();
    const bool wma = kind_ == KindWma;
    std::optional<Entries> entries;
    if (UniqueFd file; fs_.OpenForReading(fileName_, file)) {
        entries = wma ? tags::ReadFileAsfAttributes(std::move(file))
                      : tags::ReadFileVorbisComments(std::move(file));
    }
    if (!HasEntries(entries)) {
        return;
    }
    hasTag_ = true;
    if (wma) {
        title_ = WmaValue(*entries, "Title");
        artist_ = WmaValue(*entries, "Author");
        album_ = WmaValue(*entries, "WM/AlbumTitle");
        year_ = WmaValue(*entries, "WM/Year");
        trackNumber_ = ConvertTrackNumber(WmaValue(*entries, "WM/TrackNumber"));
    } else {
        title_ = TrimTagText(VorbisValue(*entries, "TITLE"));
        artist_ = TrimTagText(VorbisValue(*entries, "ARTIST"));
        album_ = TrimTagText(VorbisValue(*entries, "ALBUM"));
        year_ = TrimTagText(VorbisValue(*entries, "DATE"));
        comment_ = TrimTagText(VorbisValue(*entries, "COMMENT"));
        trackNumber_ = ConvertTrackNumber(VorbisValue(*entries, "TRACKNUMBER"));
    }
}

} // namespace tralvo::media
