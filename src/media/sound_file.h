#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tralvo::media {

// The kind of an audio file, decided by its lower-cased extension.
enum SoundKind : std::uint8_t {
    KindMp3 = 0,
    KindOggVorbis = 1,
    KindWma = 2,
    KindWav = 3,
    KindUnknown = 4,
};

// The field two files are compared by. The settings file and the command line give a key as
// its number.
enum class SortKey : std::uint8_t {
    FileName = 0,
    Title = 1,
    Artist = 2,
    Album = 3,
    Year = 4,
    Comment = 5,
    TrackNumber = 6,
    CreationTime = 7,
    ShortFileName = 8,
};
inline constexpr SortKey LastSortKey = SortKey::ShortFileName;

constexpr int SortKeyNumber(SortKey key) {
    return static_cast<int>(key);
}
// number must lie between 0 and SortKeyNumber(LastSortKey).
constexpr SortKey SortKeyFromNumber(int number) {
    return static_cast<SortKey>(number);
}

// Date-time: days since 30 December 1899, the fraction being the time of day.
using DateTime = double;

// One audio file: its kind, known from its name, and its tags, short 8.3 path and creation
// time, each read once, when first asked for. A folder of thousands of tracks loads without
// opening one of them, and a run reads it back as fast. Nothing that goes wrong while reading
// leaves it: a file that cannot be read is a record without tag.
class SoundFile {
public:
    explicit SoundFile(std::string path, FileSystem& fs = SystemFileSystem());

    const std::string& FileName() const { return fileName_; }
    const std::string& ShortFileName() const;
    SoundKind Kind() const { return kind_; }
    bool HasTag() const { return Tags().hasTag_; }
    DateTime CreationTime() const { return creationTime_; }
    const std::string& Title() const { return Tags().title_; }
    const std::string& Artist() const { return Tags().artist_; }
    const std::string& Album() const { return Tags().album_; }
    const std::string& Year() const { return Tags().year_; }
    const std::string& Comment() const { return Tags().comment_; }
    std::int32_t TrackNumber() const { return Tags().trackNumber_; }
    // The length an ID3v2 tag gives (TLEN); -1 when no tag says, as the audio alone would
    // tell, and it is not decoded for a list.
    std::int64_t LengthInMilliseconds() const { return Tags().lengthInMilliseconds_; }

    // Read from the file system on first success and kept; 0.0 while the file cannot be
    // opened, -1.0 while the system cannot tell.
    DateTime GetCreationTime();

    bool IsLess(SoundFile& other, SortKey key);
    bool IsEqual(SoundFile& other, SortKey key);

private:
    // This record with its tags read.
    const SoundFile& Tags() const;
    void ReadTags() const;
    void ClearTags() const;
    bool ReadId3v2() const;
    void ReadId3v1() const;
    // Ogg Vorbis comments or WMA attributes, both lists of "name=value" or "name : value" texts.
    void ReadTextTags() const;
    // The text a text key compares, or nullptr for the other keys.
    const std::string* TextOf(SortKey key) const;

    FileSystem& fs_;
    std::string fileName_;
    mutable std::optional<std::string> shortFileName_;
    SoundKind kind_ = KindUnknown;
    DateTime creationTime_ = -1.0;
    // The tags, filled in on first use.
    mutable bool tagsRead_ = false;
    mutable bool hasTag_ = false;
    mutable std::string title_;
    mutable std::string artist_;
    mutable std::string album_;
    mutable std::string year_;
    mutable std::string comment_;
    mutable std::int32_t trackNumber_ = 0;
    mutable std::int64_t lengthInMilliseconds_ = -1;
};

// The kind of the file at path by its extension in any letter case: "a/Song.MP3" is an MP3.
SoundKind KindOfPath(std::string_view path);
// The kind's extension as this program writes it: ".mp3", ".ogg", ".wma", ".wav"; empty for
// KindUnknown.
std::string_view ExtensionOf(SoundKind kind);

// Tag text without the bytes 0 to 32 at either end.
std::string TrimTagText(std::string_view text);

// A track number as tags write it: leading spaces skipped, an optional sign, decimal digits
// or hexadecimal ones after "$", "x", "X", "0x" or "0X", up to the end; anything else is 0.
std::int32_t ConvertTrackNumber(std::string_view text);

// File times and date-times, through calendar fields to the millisecond, without any
// time-zone shift, so a time read and written back is unchanged.
DateTime FileTimeToDateTime(FileTime time);
FileTime DateTimeToFileTime(DateTime time);

// The creation time of the file at path, read while the file is held open, as a player's own
// read does; 0.0 while it cannot be opened (a named pipe, a folder, a file gone), -1.0 while
// the system cannot tell.
DateTime CreationTimeOf(const std::string& path, FileSystem& fs);

} // namespace tralvo::media
