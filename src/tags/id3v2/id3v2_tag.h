#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo::tags {

namespace id3v2 {
class TagParser;
} // namespace id3v2

// Results of LoadFromFile: an error in the high byte, warning bits in the low byte.
namespace id3v2_result {
constexpr std::uint16_t Ok = 0x0000;
constexpr std::uint16_t CannotOpen = 0x0100;
constexpr std::uint16_t ReadFailed = 0x0300;
constexpr std::uint16_t IoFailure = 0x0500;
constexpr std::uint16_t OffsetBeyondFile = 0x0800;
constexpr std::uint16_t NoTag = 0x1000;
constexpr std::uint16_t UnsupportedVersion = 0x1100;
constexpr std::uint16_t TagPastEndOfFile = 0x2000;
constexpr std::uint16_t BadFrameId = 0x2100;
constexpr std::uint16_t Corrupt = 0xFE00;
constexpr std::uint16_t WarnUnknownHeaderFlags = 0x0080;
constexpr std::uint16_t WarnUnknownExtendedFlags = 0x0040;
constexpr std::uint16_t WarnRevision = 0x0010;
constexpr std::uint16_t WarnPaddingDiffers = 0x0004;
} // namespace id3v2_result

// Results of the getters and of DecodeFrameText.
namespace id3v2_read {
constexpr std::uint8_t Ok = 0;
constexpr std::uint8_t NotFound = 1;
constexpr std::uint8_t Empty = 2;
constexpr std::uint8_t NotATextId = 3;
constexpr std::uint8_t BeyondLatin1 = 4;
constexpr std::uint8_t UnknownEncoding = 5;
constexpr std::uint8_t BadText = 8;
constexpr std::uint8_t Encrypted = 9;
} // namespace id3v2_read

// Raised by the frame list for an index of 0 or above its count.
class FrameIndexRangeError : public std::out_of_range {
public:
    FrameIndexRangeError() : std::out_of_range("Array range out of bounds.") {}
};

// One frame of a loaded tag; flags in the version 4 layout.
struct FrameRecord {
    static constexpr std::uint8_t Grouping = 0x40;
    static constexpr std::uint8_t Compression = 0x08;
    static constexpr std::uint8_t Encryption = 0x04;
    static constexpr std::uint8_t Unsynchronisation = 0x02;
    static constexpr std::uint8_t DataLengthIndicator = 0x01;

    bool modified = false;
    std::uint32_t frameOffset = 0;  // in the tag body, of the byte after the 10-byte header
    std::uint32_t headerLength = 0; // 10 plus the extra header bytes read
    std::string id;                 // four characters, upper case
    std::uint8_t statusFlags = 0;
    std::uint8_t formatFlags = 0;
    std::uint8_t pendingFlags = 0; // format flags with 0x08 and 0x02 cleared once done
    std::uint32_t dataLength = 0;
    std::uint8_t encryptionMethod = 0;
    std::uint8_t groupId = 0;
    std::vector<std::uint8_t> data;
};

// The frames of a tag, addressed from 1.
class FrameIndex {
public:
    std::size_t Count() const { return frames_.size(); }
    FrameRecord& operator[](std::size_t index); // FrameIndexRangeError when out of range
    const FrameRecord&
    operator[](std::size_t index) const; // FrameIndexRangeError when out of range
    FrameRecord& Add();
    void Clear() { frames_.clear(); }

private:
    std::vector<FrameRecord> frames_;
};

struct TagComment {
    std::uint8_t encoding = 0;
    std::string language; // three characters
    std::string description;
    std::string text;
};

// Decodes text of a frame to one byte per character (ISO-8859-1), from startOffset. A
// nonzero length limits the bytes read; a zero one receives the bytes consumed, terminator
// included.
std::uint8_t DecodeFrameText(const FrameRecord& frame, std::size_t startOffset, bool multiLine,
                             std::uint8_t encoding, std::size_t& length, std::string& text);

// Reads an ID3v2.3 or ID3v2.4 tag from a file; never writes one. Each load keeps its working
// state (the open file, the ring, the counters) to itself, so loads on different readers may
// run at the same time.
class Id3v2Tag {
public:
    // The frame list and the extended header fields are reset when a version 3 or 4 tag is
    // parsed; a load that finds no such tag leaves them as they were.
    std::uint16_t LoadFromFile(const std::string& fileName, std::uint32_t startOffset);
    std::uint8_t GetTextFrame(std::string_view id, std::string& text);
    std::uint8_t GetComment(TagComment& comment, std::string_view description,
                            std::string_view language);

    std::uint8_t MajorVersion() const { return majorVersion_; }
    std::uint8_t Revision() const { return revision_; }
    std::uint32_t TagSize() const { return tagSize_; }
    std::uint8_t HeaderFlags() const { return headerFlags_; }
    std::uint8_t ExtendedHeaderFlags() const { return extendedHeaderFlags_; }
    std::uint32_t PaddingSize() const { return paddingSize_; }
    std::uint32_t ExtendedHeaderSize() const { return extendedHeaderSize_; }
    std::uint32_t Crc() const { return crc_; }
    std::uint8_t Restrictions() const { return restrictions_; }
    std::uint16_t LastResult() const { return lastResult_; }
    bool Modified() const { return modified_; }
    // The file has no write permission for anyone, or its name starts with '.' (hidden):
    // what the read-only, hidden and system attributes come to on POSIX.
    bool ReadOnly() const { return readOnly_; }
    const std::string& FileName() const { return fileName_; }
    std::uint32_t StartOffset() const { return startOffset_; }
    bool Loaded() const { return loaded_; }
    std::uint8_t Progress() const { return progress_; }
    const std::string& Status() const { return status_; }
    FrameIndex& Frames() { return frames_; }
    const FrameIndex& Frames() const { return frames_; }

private:
    friend class id3v2::TagParser;

    std::uint8_t majorVersion_ = 3;
    std::uint8_t revision_ = 0;
    std::uint32_t tagSize_ = 0;
    std::uint8_t headerFlags_ = 0;
    std::uint8_t extendedHeaderFlags_ = 0;
    std::uint32_t paddingSize_ = 0;
    std::uint32_t extendedHeaderSize_ = 0;
    std::uint32_t crc_ = 0;
    std::uint8_t restrictions_ = 0;
    std::uint16_t lastResult_ = 0;
    bool modified_ = false;
    bool readOnly_ = false;
    std::string fileName_;
    std::uint32_t startOffset_ = 0;
    bool loaded_ = true;
    std::uint8_t progress_ = 0;
    std::string status_;
    FrameIndex frames_;
};

} // namespace tralvo::tags
