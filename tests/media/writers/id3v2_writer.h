#pragma once

// Our own ID3v2.3/2.4 and ID3v1 tag writer for tests and benchmarks. It writes tags byte by
// byte, good ones and broken ones: every field it computes can be overridden.
#include "tags/writers/bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tralvo::test {

enum class Id3Encoding : std::uint8_t { Latin1 = 0, Utf16 = 1, Utf16Be = 2, Utf8 = 3 };

// Text in an encoding, without a terminator. A std::string_view holds one byte per character
// (ISO-8859-1), as Tralvo keeps text; a std::u16string_view may go beyond U+00FF (written as
// '?' in Latin1). Utf16 starts with a byte-order mark, little-endian unless bigEndianBom.
Bytes EncodeId3Text(std::string_view latin1, Id3Encoding encoding, bool bigEndianBom = false);
Bytes EncodeId3Text(std::u16string_view text, Id3Encoding encoding, bool bigEndianBom = false);
// The terminator of the encoding: one zero byte, or two for the UTF-16 forms.
Bytes Id3Terminator(Id3Encoding encoding);

// The building blocks, for tests that lay out bytes themselves.
Bytes SyncsafeBytes(std::uint64_t value, std::size_t count = 4);
Bytes BigEndianBytes(std::uint32_t value);
// Inserts 0x00 after every 0xFF followed by 0x00, by 0xE0 or above, or by nothing.
Bytes Unsynchronise(std::span<const std::uint8_t> bytes);
// A zlib stream (the format compressed frames carry).
Bytes ZlibCompress(std::span<const std::uint8_t> bytes);

// One frame. content is what a reader gets back once every format feature is undone.
struct Id3v2Frame {
    std::string id{}; // written as given (any case), cut or padded with NULs to four bytes
    Bytes content{};
    std::uint8_t statusFlags = 0; // as stored, in the layout of the tag's version

    // Format features, each written with its flag and extra header bytes.
    bool compressed = false; // zlib; version 3 adds the 4-byte decompressed size, version 4 a
                             // data length indicator
    bool encrypted = false;  // the content is written as it is, behind the method byte
    std::uint8_t encryptionMethod = 0x80;
    std::optional<std::uint8_t> groupId{};
    bool dataLengthIndicator = false; // version 4 only; implied by compressed
    bool unsynchronised = false;      // version 4 only: the frame's own flag and bytes (version 3
                                      // unsynchronises the whole tag instead)

    // Overrides of what is written, to make broken frames.
    std::optional<std::uint32_t> size{};                  // the size field (syncsafe in version 4)
    std::optional<std::array<std::uint8_t, 4>> rawSize{}; // the size bytes as they stand
    std::optional<std::uint32_t> dataLength{}; // decompressed size (3) or data length indicator (4)
    std::optional<std::uint8_t> formatFlags{}; // the format flags byte as stored
    std::optional<Bytes> payload{}; // the data after the extra header bytes, instead of content
                                    // compressed and unsynchronised
};

// A text frame: encoding byte and text, no terminator. Separate several values with '\0'.
Id3v2Frame TextFrame(std::string_view id, std::string_view latin1,
                     Id3Encoding encoding = Id3Encoding::Latin1);
Id3v2Frame TextFrame(std::string_view id, std::u16string_view text, Id3Encoding encoding,
                     bool bigEndianBom = false);
// A COMM frame: encoding, three-byte language, description with its terminator, text.
Id3v2Frame CommentFrame(std::string_view language, std::string_view description,
                        std::string_view text, Id3Encoding encoding = Id3Encoding::Latin1);
Id3v2Frame CommentFrame(std::string_view language, std::u16string_view description,
                        std::u16string_view text, Id3Encoding encoding, bool bigEndianBom = false);
Id3v2Frame RawFrame(std::string_view id, Bytes content);

struct Id3v2ExtendedHeaderV3 {
    std::optional<std::uint32_t> crc{};
    std::uint32_t paddingSize = 0;
    std::optional<std::uint32_t> size{};                // default: 10 with a CRC, else 6
    std::optional<std::array<std::uint8_t, 2>> flags{}; // default: 0x80 0x00 with a CRC
    std::optional<Bytes> raw{};                         // written instead of all of the above
};

struct Id3v2ExtendedHeaderV4 {
    bool update = false;
    std::optional<std::uint64_t> crc{}; // 35 bits, as five syncsafe bytes
    std::optional<std::uint8_t> restrictions{};
    std::uint8_t otherFlags = 0;         // more bits of the flags byte (no items are written)
    std::uint8_t flagByteCount = 1;      // bytes after the first are zero
    std::optional<std::uint32_t> size{}; // default: the bytes written
    std::optional<Bytes> raw{};          // written instead of all of the above
};

// An ID3v2 tag of version 3 or 4. The body is laid out as added: the extended header, then
// frames, padding and raw bytes in order.
class Id3v2TagWriter {
public:
    explicit Id3v2TagWriter(std::uint8_t majorVersion = 3) : majorVersion_(majorVersion) {}

    Id3v2TagWriter& Add(Id3v2Frame frame);
    Id3v2TagWriter& Text(std::string_view id, std::string_view latin1,
                         Id3Encoding encoding = Id3Encoding::Latin1);
    Id3v2TagWriter& Comment(std::string_view language, std::string_view description,
                            std::string_view text, Id3Encoding encoding = Id3Encoding::Latin1);
    Id3v2TagWriter& Padding(std::size_t zeroBytes);
    // "MP3e" and zeros, size bytes in all, as some old encoders fill their padding.
    Id3v2TagWriter& Mp3ePadding(std::size_t size);
    Id3v2TagWriter& Raw(Bytes bytes);

    Id3v2TagWriter& ExtendedHeader(Id3v2ExtendedHeaderV3 header);
    Id3v2TagWriter& ExtendedHeader(Id3v2ExtendedHeaderV4 header);
    // Version 3: the whole body, extended header included. Version 4: every frame on its own;
    // both set the header flag.
    Id3v2TagWriter& Unsynchronise();
    Id3v2TagWriter& Experimental();
    // Version 4: the footer flag and a 10-byte footer after the body.
    Id3v2TagWriter& Footer();

    // Overrides of the header.
    Id3v2TagWriter& Revision(std::uint8_t revision);
    Id3v2TagWriter& HeaderFlags(std::uint8_t flags); // the flags byte as stored
    Id3v2TagWriter& TagSize(std::uint32_t size);     // written syncsafe instead of the body's
    Id3v2TagWriter& RawTagSize(std::array<std::uint8_t, 4> bytes);

    // The frame as this tag writes it, header included (before whole-tag unsynchronisation).
    Bytes FrameBytes(const Id3v2Frame& frame) const;
    // The body after the header, unsynchronised when the tag is (version 3).
    Bytes Body() const;
    // Header, body and footer.
    Bytes Build() const;

private:
    std::uint8_t majorVersion_;
    std::uint8_t revision_ = 0;
    bool unsynchronised_ = false;
    bool experimental_ = false;
    bool footer_ = false;
    std::optional<Bytes> extendedHeader_{};
    std::optional<std::uint8_t> headerFlags_{};
    std::optional<std::array<std::uint8_t, 4>> rawTagSize_{};
    std::vector<std::variant<Id3v2Frame, Bytes>> items_;
};

struct Id3v1Fields {
    std::string title{}; // each field cut at its length, padded with NULs
    std::string artist{};
    std::string album{};
    std::string year{};                  // 4 bytes
    std::string comment{};               // 30 bytes, or 28 with a track
    std::optional<std::uint8_t> track{}; // byte 125 = 0, byte 126 = track
    std::uint8_t genre = 255;
};

// The 128-byte ID3v1 tag: "TAG", title 30, artist 30, album 30, year 4, comment 30, genre 1.
Bytes Id3v1Tag(const Id3v1Fields& fields);

// count MPEG-1 Layer III frames (128 kbit/s, 44100 Hz, joint stereo) of 417 bytes each: a
// valid header and zero bytes, enough for anything that looks for frame headers.
Bytes FakeMpegFrames(std::size_t count = 3);

// An MP3 file: the ID3v2 tag (none when empty), fake MPEG frames, an optional ID3v1 tag.
Bytes Mp3File(std::span<const std::uint8_t> id3v2Tag, std::size_t mpegFrames = 3,
              const std::optional<Id3v1Fields>& id3v1 = std::nullopt);

// The bytes as a string, for TempFolder::WriteFile.
std::string AsString(std::span<const std::uint8_t> bytes);

} // namespace tralvo::test
