#include "tags/asf_attributes.h"

#include "tags/asf_objects.h"
#include "tags/asf_values.h"
#include "tags/byte_cursor.h"
#include "tags/latin1_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tralvo::tags {
namespace {

using Attributes = std::vector<std::string>;

void Add(Attributes& out, std::string_view name, std::string_view value) {
    std::string entry(name);
    entry += " : ";
    entry += value;
    out.push_back(std::move(entry));
}

// Five 16-bit lengths, then the five UTF-16LE texts. An empty field is a field the file does not
// have, so it gives no entry. A text passing the object's end ends the object there.
void ReadContentDescription(std::span<const std::uint8_t> body, Attributes& out) {
    static constexpr std::array<std::string_view, 5> names = {"Title", "Author", "Copyright",
                                                              "Description", "Rating"};
    ByteCursor cursor(body);
    std::array<std::uint16_t, names.size()> lengths{};
    for (auto& length : lengths) {
        const auto value = cursor.U16();
        if (!value) {
            return;
        }
        length = *value;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto text = cursor.Bytes(lengths[i]);
        if (!text) {
            return;
        }
        if (std::string value = Utf16LeToLatin1(*text); !value.empty()) {
            Add(out, names[i], value);
        }
    }
}

void AddAttribute(Attributes& out, std::span<const std::uint8_t> name, std::uint16_t type,
                  std::span<const std::uint8_t> value) {
    if (const auto text = AsfValueText(type, value)) {
        Add(out, Utf16LeToLatin1(name), *text);
    }
}

// A 16-bit count, then per attribute: name length, name, value type, value length, value.
// An attribute passing the object's end ends the list there.
void ReadExtendedContentDescription(std::span<const std::uint8_t> body, Attributes& out) {
    ByteCursor cursor(body);
    const auto count = cursor.U16();
    for (std::uint16_t i = 0; count && i < *count; ++i) {
        const auto nameLength = cursor.U16();
        const auto name = nameLength ? cursor.Bytes(*nameLength) : std::nullopt;
        const auto type = name ? cursor.U16() : std::nullopt;
        const auto valueLength = type ? cursor.U16() : std::nullopt;
        const auto value = valueLength ? cursor.Bytes(*valueLength) : std::nullopt;
        if (!value) {
            return;
        }
        AddAttribute(out, *name, *type, *value);
    }
}

// The metadata and metadata library objects: a 16-bit count, then per record: language index
// (reserved in the metadata object), stream number, name length, value type, 32-bit value
// length, name, value.
void ReadMetadata(std::span<const std::uint8_t> body, Attributes& out) {
    ByteCursor cursor(body);
    const auto count = cursor.U16();
    for (std::uint16_t i = 0; count && i < *count; ++i) {
        const auto languageAndStream = cursor.Bytes(4);
        const auto nameLength = languageAndStream ? cursor.U16() : std::nullopt;
        const auto type = nameLength ? cursor.U16() : std::nullopt;
        const auto valueLength = type ? cursor.U32() : std::nullopt;
        const auto name = valueLength ? cursor.Bytes(*nameLength) : std::nullopt;
        const auto value = name ? cursor.Bytes(*valueLength) : std::nullopt;
        if (!value) {
            return;
        }
        AddAttribute(out, *name, *type, *value);
    }
}

void ReadObjects(std::span<const std::uint8_t> area, bool insideExtension, Attributes& out);

// A reserved GUID and 16-bit field, a 32-bit data size, then objects of their own.
void ReadHeaderExtension(std::span<const std::uint8_t> body, Attributes& out) {
    ByteCursor cursor(body);
    const auto reserved = cursor.Bytes(18);
    const auto dataSize = reserved ? cursor.U32() : std::nullopt;
    if (!dataSize) {
        return;
    }
    const auto data = cursor.Rest();
    ReadObjects(data.first(std::min<std::size_t>(data.size(), *dataSize)), true, out);
}

void ReadObjects(std::span<const std::uint8_t> area, bool insideExtension, Attributes& out) {
    for (const AsfObject& object : SplitAsfObjects(area)) {
        if (object.guid == asf::ContentDescription) {
            ReadContentDescription(object.body, out);
        } else if (object.guid == asf::ExtendedContentDescription) {
            ReadExtendedContentDescription(object.body, out);
        } else if (object.guid == asf::Metadata || object.guid == asf::MetadataLibrary) {
            ReadMetadata(object.body, out);
        } else if (object.guid == asf::HeaderExtension && !insideExtension) {
            ReadHeaderExtension(object.body, out);
        }
    }
}

} // namespace

std::optional<std::vector<std::string>> ReadAsfAttributes(ByteSource& source) {
    const auto children = ReadAsfHeaderChildren(source);
    if (!children) {
        return std::nullopt;
    }
    Attributes attributes;
    ReadObjects(*children, false, attributes);
    return attributes;
}

} // namespace tralvo::tags
