// Text encodings and the text and comment frames built from them.
#include "media/writers/id3v2_writer.h"

namespace tralvo::test {

namespace {

void AppendUnit(Bytes& out, char16_t unit, bool bigEndian) {
    const auto high = static_cast<std::uint8_t>(unit >> 8);
    const auto low = static_cast<std::uint8_t>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

void AppendUtf8(Bytes& out, char16_t unit) {
    if (unit < 0x80) {
        out.push_back(static_cast<std::uint8_t>(unit));
    } else if (unit < 0x800) {
        out.push_back(static_cast<std::uint8_t>(0xC0 | (unit >> 6)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
    } else {
        out.push_back(static_cast<std::uint8_t>(0xE0 | (unit >> 12)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((unit >> 6) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
    }
}

std::u16string Widen(std::string_view latin1) {
    std::u16string wide;
    for (const char c : latin1) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

} // namespace

Bytes EncodeId3Text(std::u16string_view text, Id3Encoding encoding, bool bigEndianBom) {
    Bytes out;
    switch (encoding) {
    case Id3Encoding::Latin1:
        for (const char16_t unit : text) {
            out.push_back(unit > 0xFF ? std::uint8_t{'?'} : static_cast<std::uint8_t>(unit));
        }
        break;
    case Id3Encoding::Utf16:
        AppendUnit(out, u'\xFEFF', bigEndianBom);
        for (const char16_t unit : text) {
            AppendUnit(out, unit, bigEndianBom);
        }
        break;
    case Id3Encoding::Utf16Be:
        for (const char16_t unit : text) {
            AppendUnit(out, unit, true);
        }
        break;
    case Id3Encoding::Utf8:
        for (const char16_t unit : text) {
            AppendUtf8(out, unit);
        }
        break;
    }
    return out;
}

Bytes EncodeId3Text(std::string_view latin1, Id3Encoding encoding, bool bigEndianBom) {
    return EncodeId3Text(Widen(latin1), encoding, bigEndianBom);
}

Bytes Id3Terminator(Id3Encoding encoding) {
    const bool wide = encoding == Id3Encoding::Utf16 || encoding == Id3Encoding::Utf16Be;
    return Bytes(wide ? 2 : 1, 0);
}

Id3v2Frame TextFrame(std::string_view id, std::u16string_view text, Id3Encoding encoding,
                     bool bigEndianBom) {
    Id3v2Frame frame;
    frame.id = std::string(id);
    frame.content.push_back(static_cast<std::uint8_t>(encoding));
    Append(frame.content, EncodeId3Text(text, encoding, bigEndianBom));
    return frame;
}

Id3v2Frame TextFrame(std::string_view id, std::string_view latin1, Id3Encoding encoding) {
    return TextFrame(id, Widen(latin1), encoding);
}

Id3v2Frame CommentFrame(std::string_view language, std::u16string_view description,
                        std::u16string_view text, Id3Encoding encoding, bool bigEndianBom) {
    Id3v2Frame frame;
    frame.id = "COMM";
    frame.content.push_back(static_cast<std::uint8_t>(encoding));
    Append(frame.content, language.substr(0, 3));
    frame.content.resize(4, ' ');
    Append(frame.content, EncodeId3Text(description, encoding, bigEndianBom));
    Append(frame.content, Id3Terminator(encoding));
    Append(frame.content, EncodeId3Text(text, encoding, bigEndianBom));
    return frame;
}

Id3v2Frame CommentFrame(std::string_view language, std::string_view description,
                        std::string_view text, Id3Encoding encoding) {
    return CommentFrame(language, Widen(description), Widen(text), encoding);
}

Id3v2Frame RawFrame(std::string_view id, Bytes content) {
    Id3v2Frame frame;
    frame.id = std::string(id);
    frame.content = std::move(content);
    return frame;
}

} // namespace tralvo::test
