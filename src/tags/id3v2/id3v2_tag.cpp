#include "tags/id3v2/id3v2_tag.h"

#include "tags/id3v2/frame_preparation.h"
#include "tags/id3v2/tag_file.h"
#include "tags/id3v2/tag_parser.h"

namespace tralvo::tags {

namespace {

constexpr std::size_t CommentTextOffset = 4; // after the encoding byte and the language

} // namespace

std::uint16_t Id3v2Tag::LoadFromFile(const std::string& fileName, std::uint32_t startOffset) {
    try {
        return id3v2::TagParser::Load(*this, fileName, startOffset);
    } catch (const id3v2::FileFailure& failure) {
        return failure.result;
    }
}

std::uint8_t Id3v2Tag::GetTextFrame(std::string_view id, std::string& text) {
    text.clear();
    if (id.size() != 4 || id[0] != 'T' || id == "TXXX") {
        return id3v2_read::NotATextId;
    }
    for (std::size_t i = 1; i <= frames_.Count(); ++i) {
        FrameRecord& frame = frames_[i];
        if (frame.id != id) {
            continue;
        }
        // Only the first frame with the id is read, whatever its result.
        if (const std::uint8_t prepared = id3v2::PrepareFrameForReading(frame);
            prepared != id3v2_read::Ok) {
            return prepared;
        }
        std::size_t length = 0;
        return DecodeFrameText(frame, 1, false, frame.data[0], length, text);
    }
    return id3v2_read::NotFound;
}

std::uint8_t Id3v2Tag::GetComment(TagComment& comment, std::string_view description,
                                  std::string_view language) {
    comment = TagComment{};
    const bool anyLanguage = language.size() != 3;
    for (std::size_t i = 1; i <= frames_.Count(); ++i) {
        FrameRecord& frame = frames_[i];
        if (frame.id != "COMM") {
            continue;
        }
        // A comment frame that cannot be read ends the search, even if a later one would match.
        if (const std::uint8_t prepared = id3v2::PrepareFrameForReading(frame);
            prepared != id3v2_read::Ok) {
            return prepared;
        }
        const std::uint8_t encoding = frame.data[0];
        std::size_t descriptionLength = 0;
        std::string frameDescription;
        if (const std::uint8_t result = DecodeFrameText(frame, CommentTextOffset, false, encoding,
                                                        descriptionLength, frameDescription);
            result != id3v2_read::Ok) {
            return result;
        }
        if (!frameDescription.empty() && frameDescription.back() == '\0') {
            frameDescription.pop_back();
        }
        const std::string frameLanguage(frame.data.begin() + 1,
                                        frame.data.begin() + CommentTextOffset);
        if (frameDescription != description || (!anyLanguage && frameLanguage != language)) {
            continue;
        }
        std::size_t textLength = 0;
        std::string text;
        const std::uint8_t result = DecodeFrameText(frame, CommentTextOffset + descriptionLength,
                                                    true, encoding, textLength, text);
        comment = TagComment{encoding, frameLanguage, std::move(frameDescription), std::move(text)};
        return result;
    }
    return id3v2_read::NotFound;
}

} // namespace tralvo::tags
