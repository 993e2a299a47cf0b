#include "tags/writers/asf_writer.h"

namespace tralvo::test {
namespace {

constexpr std::uint16_t BoolType = 2;

std::uint8_t HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    return static_cast<std::uint8_t>((c | 0x20) - 'a' + 10);
}

AsfAttribute Number(std::u16string name, std::uint16_t type, std::uint64_t value,
                    std::size_t size) {
    AsfAttribute attribute{std::move(name), type, {}};
    AppendLe(attribute.value, value, size);
    return attribute;
}

void AppendDataSized(Bytes& out, const Bytes& data, std::size_t lengthSize) {
    AppendLe(out, data.size(), lengthSize);
    Append(out, data);
}

} // namespace

AsfGuidBytes AsfGuidFromText(std::string_view text) {
    Bytes bytes; // in the order the text gives them
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '-') {
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(HexDigit(text[i]) << 4 | HexDigit(text[i + 1])));
        ++i;
    }
    AsfGuidBytes guid{};
    static constexpr std::array<std::size_t, 16> order = {3, 2, 1,  0,  5,  4,  7,  6,
                                                          8, 9, 10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < guid.size() && order[i] < bytes.size(); ++i) {
        guid[i] = bytes[order[i]];
    }
    return guid;
}

Bytes Utf16LeTerminated(std::u16string_view text) {
    Bytes bytes;
    for (const char16_t unit : text) {
        AppendLe(bytes, unit, 2);
    }
    AppendLe(bytes, 0, 2);
    return bytes;
}

AsfAttribute AsfAttribute::Text(std::u16string name, std::u16string_view value) {
    return {std::move(name), 0, Utf16LeTerminated(value)};
}
AsfAttribute AsfAttribute::ByteArray(std::u16string name, Bytes value) {
    return {std::move(name), 1, std::move(value)};
}
AsfAttribute AsfAttribute::Bool(std::u16string name, bool value) {
    return Number(std::move(name), BoolType, value ? 1 : 0, 4);
}
AsfAttribute AsfAttribute::Dword(std::u16string name, std::uint32_t value) {
    return Number(std::move(name), 3, value, 4);
}
AsfAttribute AsfAttribute::Qword(std::u16string name, std::uint64_t value) {
    return Number(std::move(name), 4, value, 8);
}
AsfAttribute AsfAttribute::Word(std::u16string name, std::uint16_t value) {
    return Number(std::move(name), 5, value, 2);
}

Bytes AsfObjectBytes(const AsfGuidBytes& guid, std::span<const std::uint8_t> body,
                     std::optional<std::uint64_t> sizeField) {
    Bytes object(guid.begin(), guid.end());
    AppendLe(object, sizeField.value_or(24 + body.size()), 8);
    Append(object, body);
    return object;
}

Bytes AsfHeaderObject(std::span<const Bytes> children, std::optional<std::uint32_t> countField,
                      std::optional<std::uint64_t> sizeField) {
    const Bytes all = Concat(children);
    Bytes object(asf_guid::Header.begin(), asf_guid::Header.end());
    AppendLe(object, sizeField.value_or(30 + all.size()), 8);
    AppendLe(object, countField.value_or(static_cast<std::uint32_t>(children.size())), 4);
    object.push_back(1); // reserved, as every writer sets them
    object.push_back(2);
    Append(object, all);
    return object;
}

Bytes AsfContentDescriptionObject(const AsfContentDescription& content) {
    Bytes body;
    std::vector<Bytes> texts;
    for (const std::u16string* text : {&content.title, &content.author, &content.copyright,
                                       &content.description, &content.rating}) {
        texts.push_back(text->empty() ? Bytes{} : Utf16LeTerminated(*text));
        AppendLe(body, texts.back().size(), 2);
    }
    Append(body, Concat(texts));
    return AsfObjectBytes(asf_guid::ContentDescription, body);
}

Bytes AsfExtendedContentDescriptionObject(const std::vector<AsfAttribute>& attributes,
                                          std::optional<std::uint16_t> countField) {
    Bytes body;
    AppendLe(body, countField.value_or(static_cast<std::uint16_t>(attributes.size())), 2);
    for (const AsfAttribute& attribute : attributes) {
        AppendDataSized(body, Utf16LeTerminated(attribute.name), 2);
        AppendLe(body, attribute.type, 2);
        AppendDataSized(body, attribute.value, 2);
    }
    return AsfObjectBytes(asf_guid::ExtendedContentDescription, body);
}

Bytes AsfMetadataObject(const std::vector<AsfAttribute>& attributes) {
    Bytes body;
    AppendLe(body, attributes.size(), 2);
    for (const AsfAttribute& attribute : attributes) {
        const Bytes name = Utf16LeTerminated(attribute.name);
        Bytes value = attribute.value;
        if (attribute.type == BoolType) {
            value.resize(2); // the metadata objects keep a BOOL in 16 bits
        }
        AppendLe(body, 0, 2); // reserved
        AppendLe(body, 0, 2); // stream number: the whole file
        AppendLe(body, name.size(), 2);
        AppendLe(body, attribute.type, 2);
        AppendLe(body, value.size(), 4);
        Append(body, name);
        Append(body, value);
    }
    return AsfObjectBytes(asf_guid::Metadata, body);
}

Bytes AsfHeaderExtensionObject(std::span<const Bytes> children) {
    const AsfGuidBytes reserved = AsfGuidFromText("ABD3D211-A9BA-11CF-8EE6-00C00C205365");
    const Bytes data = Concat(children);
    Bytes body(reserved.begin(), reserved.end());
    AppendLe(body, 6, 2);
    AppendDataSized(body, data, 4);
    return AsfObjectBytes(asf_guid::HeaderExtension, body);
}

std::vector<Bytes> AsfTagObjects(const AsfTags& tags) {
    std::vector<Bytes> objects;
    if (tags.content) {
        objects.push_back(AsfContentDescriptionObject(*tags.content));
    }
    if (!tags.extended.empty()) {
        objects.push_back(AsfExtendedContentDescriptionObject(tags.extended));
    }
    if (!tags.metadata.empty()) {
        const Bytes metadata = AsfMetadataObject(tags.metadata);
        objects.push_back(AsfHeaderExtensionObject(std::span(&metadata, 1)));
    }
    return objects;
}

Bytes AsfTagHeader(const AsfTags& tags) {
    return AsfHeaderObject(AsfTagObjects(tags));
}

} // namespace tralvo::test
