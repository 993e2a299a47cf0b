#pragma once

#include "platform/file_system.h"

#include <cstdint>
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

// The field two files are compared by: 0 file name, 1 title, 2 artist, 3 album, 4 year,
// 5 comment, 6 track number, 7 creation time, 8 short 8.3 path.
using SortKey = std::uint8_t;

// Date-time: days since 30 December 1899, the fraction being the time of day.
using DateTime = double;

// One audio file: its kind and tags, read once at creation, and its creation time, read on
// first use. Nothing that goes wrong while reading leaves it: a file that cannot be read is
// a record without tag.
class TSoundFile {
public:
    explicit TSoundFile(std::string path, FileSystem& fs = SystemFileSystem());

    const std::string& FileName() const { return fileName_; }
    const std::string& ShortFileName() const { return shortFileName_; }
    SoundKind Kind() const { return kind_; }
    bool HasTag() const { return hasTag_; }
    DateTime CreationTime() const { return creationTime_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::int32_t TrackNumber() const { return trackNumber_; }

    // Read from the file system on first success and kept; 0.0 while the file cannot be
    // opened, -1.0 while the system cannot tell.
    DateTime GetCreationTime();

    bool IsLess(TSoundFile& other, SortKey key);
    bool IsEqual(TSoundFile& other, SortKey key);

private:
    void ReadTags();
    void ClearTags();
    bool ReadId3v2();
    void ReadId3v1();
    void ReadEngineTags();
    // The text a text key compares, or nullptr for the other keys.
    const std::string* TextOf(SortKey key) const;

    FileSystem& fs_;
    std::string fileName_;
    std::string shortFileName_;
    SoundKind kind_ = KindUnknown;
    bool hasTag_ = false;
    DateTime creationTime_ = -1.0;
    std::string title_;
    std::string artist_;
    std::string album_;
    std::string year_;
    std::string comment_;
    std::int32_t trackNumber_ = 0;
};

SoundKind KindOfPath(std::string_view path);

// Tag text without the bytes 0 to 32 at either end.
std::string TrimTagText(std::string_view text);

// A track number as tags write it: leading spaces skipped, an optional sign, decimal digits
// or hexadecimal ones after "$", "x", "X", "0x" or "0X", up to the end; anything else is 0.
std::int32_t ConvertTrackNumber(std::string_view text);

// File times and date-times, through calendar fields to the millisecond, without any
// time-zone shift, so a time read and written back is unchanged.
DateTime FileTimeToDateTime(FileTime time);
FileTime DateTimeToFileTime(DateTime time);

} // namespace tralvo::media
