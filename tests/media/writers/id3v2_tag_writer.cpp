// The tag around the frames: header, extended headers, padding, footer.
#include "media/writers/id3v2_writer.h"

#include <algorithm>
#include <array>

namespace tralvo::test {

Id3v2TagWriter& Id3v2TagWriter::Add(Id3v2Frame frame) {
    items_.emplace_back(std::move(frame));
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::Text(std::string_view id, std::string_view latin1,
                                     Id3Encoding encoding) {
    return Add(TextFrame(id, latin1, encoding));
}

Id3v2TagWriter& Id3v2TagWriter::Comment(std::string_view language, std::string_view description,
                                        std::string_view text, Id3Encoding encoding) {
    return Add(CommentFrame(language, description, text, encoding));
}

Id3v2TagWriter& Id3v2TagWriter::Padding(std::size_t zeroBytes) {
    return Raw(Bytes(zeroBytes, 0));
}

Id3v2TagWriter& Id3v2TagWriter::Mp3ePadding(std::size_t size) {
    Bytes padding = BytesOf("MP3e");
    padding.resize(std::max<std::size_t>(size, 4), 0);
    return Raw(std::move(padding));
}

Id3v2TagWriter& Id3v2TagWriter::Raw(Bytes bytes) {
    items_.emplace_back(std::move(bytes));
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::ExtendedHeader(Id3v2ExtendedHeaderV3 header) {
    if (header.raw) {
        extendedHeader_ = *header.raw;
        return *this;
    }
    const bool crc = header.crc.has_value();
    Bytes bytes = BigEndianBytes(header.size.value_or(crc ? 10 : 6));
    const std::array<std::uint8_t, 2> flags = header.flags.value_or(
        std::array<std::uint8_t, 2>{crc ? std::uint8_t{0x80} : std::uint8_t{0}, 0});
    Append(bytes, flags);
    Append(bytes, BigEndianBytes(header.paddingSize));
    if (crc) {
        Append(bytes, BigEndianBytes(*header.crc));
    }
    extendedHeader_ = std::move(bytes);
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::ExtendedHeader(Id3v2ExtendedHeaderV4 header) {
    if (header.raw) {
        extendedHeader_ = *header.raw;
        return *this;
    }
    Bytes items;
    if (header.update) {
        items.push_back(0);
    }
    if (header.crc) {
        items.push_back(5);
        Append(items, SyncsafeBytes(*header.crc, 5));
    }
    if (header.restrictions) {
        items.push_back(1);
        items.push_back(*header.restrictions);
    }
    const auto flags =
        static_cast<std::uint8_t>((header.update ? 0x40 : 0) | (header.crc ? 0x20 : 0) |
                                  (header.restrictions ? 0x10 : 0) | header.otherFlags);
    Bytes rest{header.flagByteCount, flags};
    rest.resize(rest.size() + std::max<std::size_t>(header.flagByteCount, 1) - 1, 0);
    Append(rest, items);
    Bytes bytes = SyncsafeBytes(header.size.value_or(static_cast<std::uint32_t>(4 + rest.size())));
    Append(bytes, rest);
    extendedHeader_ = std::move(bytes);
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::Unsynchronise() {
    unsynchronised_ = true;
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::Experimental() {
    experimental_ = true;
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::Footer() {
    footer_ = true;
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::Revision(std::uint8_t revision) {
    revision_ = revision;
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::HeaderFlags(std::uint8_t flags) {
    headerFlags_ = flags;
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::TagSize(std::uint32_t size) {
    const Bytes bytes = SyncsafeBytes(size);
    rawTagSize_ = std::array<std::uint8_t, 4>{bytes[0], bytes[1], bytes[2], bytes[3]};
    return *this;
}

Id3v2TagWriter& Id3v2TagWriter::RawTagSize(std::array<std::uint8_t, 4> bytes) {
    rawTagSize_ = bytes;
    return *this;
}

Bytes Id3v2TagWriter::Body() const {
    Bytes body = extendedHeader_.value_or(Bytes{});
    for (const auto& item : items_) {
        if (const auto* frame = std::get_if<Id3v2Frame>(&item)) {
            Append(body, FrameBytes(*frame));
        } else {
            Append(body, std::get<Bytes>(item));
        }
    }
    return majorVersion_ == 3 && unsynchronised_ ? test::Unsynchronise(body) : body;
}

Bytes Id3v2TagWriter::Build() const {
    const Bytes body = Body();
    const auto flags =
        static_cast<std::uint8_t>((unsynchronised_ ? 0x80 : 0) | (extendedHeader_ ? 0x40 : 0) |
                                  (experimental_ ? 0x20 : 0) | (footer_ ? 0x10 : 0));
    const std::array<std::uint8_t, 6> start{'I',           'D',       '3',
                                            majorVersion_, revision_, headerFlags_.value_or(flags)};
    Bytes header;
    Append(header, start);
    if (rawTagSize_) {
        Append(header, *rawTagSize_);
    } else {
        Append(header, SyncsafeBytes(body.size()));
    }
    Bytes out = header;
    Append(out, body);
    if (footer_) {
        header[0] = '3';
        header[1] = 'D';
        header[2] = 'I';
        Append(out, header);
    }
    return out;
}

} // namespace tralvo::test
