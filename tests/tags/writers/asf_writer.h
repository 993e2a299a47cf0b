#pragma once

#include "tags/writers/bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo::test {

using AsfGuidBytes = std::array<std::uint8_t, 16>;

// "75B22630-668E-11CF-A6D9-00AA0062CE6C" as ASF stores it (first three groups little-endian).
AsfGuidBytes AsfGuidFromText(std::string_view text);

namespace asf_guid {
inline const AsfGuidBytes Header = AsfGuidFromText("75B22630-668E-11CF-A6D9-00AA0062CE6C");
inline const AsfGuidBytes ContentDescription =
    AsfGuidFromText("75B22633-668E-11CF-A6D9-00AA0062CE6C");
inline const AsfGuidBytes ExtendedContentDescription =
    AsfGuidFromText("D2D0A440-E307-11D2-97F0-00A0C95EA850");
inline const AsfGuidBytes HeaderExtension = AsfGuidFromText("5FBF03B5-A92E-11CF-8EE3-00C00C205365");
inline const AsfGuidBytes Metadata = AsfGuidFromText("C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA");
inline const AsfGuidBytes FileProperties = AsfGuidFromText("8CABDCA1-A947-11CF-8EE4-00C00C205365");
} // namespace asf_guid

// Text as UTF-16LE, with the terminating U+0000 that ASF writers put after every string.
Bytes Utf16LeTerminated(std::u16string_view text);

// One attribute of the extended content description or metadata object.
struct AsfAttribute {
    std::u16string name;
    std::uint16_t type = 0; // 0 string, 1 byte array, 2 BOOL, 3 DWORD, 4 QWORD, 5 WORD
    Bytes value;            // as the extended content description stores it (a BOOL in 4 bytes)

    static AsfAttribute Text(std::u16string name, std::u16string_view value);
    static AsfAttribute ByteArray(std::u16string name, Bytes value);
    static AsfAttribute Bool(std::u16string name, bool value);
    static AsfAttribute Dword(std::u16string name, std::uint32_t value);
    static AsfAttribute Qword(std::u16string name, std::uint64_t value);
    static AsfAttribute Word(std::u16string name, std::uint16_t value);
};

struct AsfContentDescription {
    std::u16string title, author, copyright, description, rating; // empty: length 0
};

struct AsfTags {
    std::optional<AsfContentDescription> content; // the content description object, if any
    std::vector<AsfAttribute> extended; // an extended content description object, if not empty
    std::vector<AsfAttribute> metadata; // a metadata object in the header extension, if not empty
};

// Building blocks. The optional fields replace what would be written, for hostile files.
Bytes AsfObjectBytes(const AsfGuidBytes& guid, std::span<const std::uint8_t> body,
                     std::optional<std::uint64_t> sizeField = {});
Bytes AsfHeaderObject(std::span<const Bytes> children, std::optional<std::uint32_t> countField = {},
                      std::optional<std::uint64_t> sizeField = {});
Bytes AsfContentDescriptionObject(const AsfContentDescription& content);
Bytes AsfExtendedContentDescriptionObject(const std::vector<AsfAttribute>& attributes,
                                          std::optional<std::uint16_t> countField = {});
Bytes AsfMetadataObject(const std::vector<AsfAttribute>& attributes);
Bytes AsfHeaderExtensionObject(std::span<const Bytes> children);

// The objects that carry tags: content description, extended content description, header
// extension with the metadata object; each only when tags has something for it.
std::vector<Bytes> AsfTagObjects(const AsfTags& tags);

// A header object holding only the tag objects: enough for a tag reader, not for a decoder.
Bytes AsfTagHeader(const AsfTags& tags);

// wmaFile (as the ffmpeg command writes it) with its tags replaced: the content description and
// extended content description objects are dropped and the tag objects of tags are added at the
// end of the header; metadata objects in the header extension are replaced by tags.metadata.
// Every other object (file and stream properties, the data object, indexes) is kept, and the
// file size in the file properties object is corrected, so the result still decodes. Empty
// when wmaFile does not begin with a well-formed header object.
Bytes WithAsfAttributes(std::span<const std::uint8_t> wmaFile, const AsfTags& tags);

} // namespace tralvo::test
