#include "media/playlists/xspf_reader.h"

#include "media/playlists/playlist_text.h"
#include "platform/text.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstdint>

namespace tralvo::media::playlists {

namespace {

// Far deeper than an XSPF document goes; deeper nesting is no playlist.
constexpr std::size_t MaxDepth = 256;

constexpr std::string_view Blanks = " \t\r\n";

bool IsNameCharacter(char c) {
    return std::string_view(Blanks).find(c) == std::string_view::npos &&
           std::string_view("<>/=\"'&!?").find(c) == std::string_view::npos;
}

std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// One pass over the document, keeping the open elements and what the current <location> says.
class XspfScanner {
public:
    explicit XspfScanner(std::string_view text) : text_(text) {}

    std::vector<std::string> Scan() {
        while (at_ < text_.size()) {
            if (text_[at_] == '<') {
                Markup();
            } else {
                Text();
            }
        }
        if (!open_.empty()) {
            Fail("the document ends inside <" + std::string(open_.back()) + ">");
        }
        if (!sawRoot_) {
            Fail("no XML element");
        }
        return std::move(entries_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        const auto line =
            std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(at_), '\n') + 1;
        throw PlaylistError("broken XML at line " + std::to_string(line) + ": " + what);
    }

    // The position of what ends the construct begun at at_, past its end; fails as unclosed.
    std::size_t Through(std::string_view end, std::string_view what) const {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos) {
            Fail("an unclosed " + std::string(what));
        }
        return found + end.size();
    }

    void Markup() {
        const std::string_view rest = text_.substr(at_);
        if (rest.starts_with("<!--")) {
            at_ = Through("-->", "comment");
        } else if (rest.starts_with("<![CDATA[")) {
            if (open_.empty()) {
                Fail("a CDATA section outside the document's element");
            }
            const std::size_t end = Through("]]>", "CDATA section");
            Capture(rest.substr(9, end - at_ - 12));
            at_ = end;
        } else if (rest.starts_with("<?")) {
            at_ = Through("?>", "processing instruction");
        } else if (rest.starts_with("<!")) {
            DocumentType();
        } else if (rest.starts_with("</")) {
            EndTag();
        } else {
            StartTag();
        }
    }

    // <!DOCTYPE ...>, with an internal subset in brackets.
    void DocumentType() {
        const std::size_t bracket = text_.find_first_of("[>", at_);
        if (bracket != std::string_view::npos && text_[bracket] == '[') {
            at_ = bracket;
            at_ = Through("]", "document type");
        }
        at_ = Through(">", "document type");
    }

    std::string_view Name() {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsNameCharacter(text_[at_])) {
            ++at_;
        }
        if (at_ == start) {
            Fail("a tag without a name");
        }
        return text_.substr(start, at_ - start);
    }

    void SkipBlanks() {
        while (at_ < text_.size() && Blanks.find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }

    void StartTag() {
        if (open_.empty() && sawRoot_) {
            Fail("a second element after the document's own");
        }
        ++at_;
        const std::string_view name = Name();
        for (;;) {
            SkipBlanks();
            if (at_ >= text_.size()) {
                Fail("an unclosed tag <" + std::string(name) + ">");
            }
            if (text_.substr(at_).starts_with("/>")) {
                at_ += 2;
                Opened(name);
                Closed();
                return;
            }
            if (text_[at_] == '>') {
                ++at_;
                Opened(name);
                return;
            }
            Attribute();
        }
    }

    // name="value" or name='value'; attribute values say nothing a playlist needs.
    void Attribute() {
        Name();
        SkipBlanks();
        if (at_ >= text_.size() || text_[at_] != '=') {
            Fail("an attribute without a value");
        }
        ++at_;
        SkipBlanks();
        if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
            Fail("an attribute value without quotes");
        }
        const char quote = text_[at_++];
        at_ = Through(std::string_view(&quote, 1), "attribute value");
    }

    void EndTag() {
        at_ += 2;
        const std::string_view name = Name();
        SkipBlanks();
        if (at_ >= text_.size() || text_[at_] != '>') {
            Fail("an unclosed end tag </" + std::string(name) + ">");
        }
        ++at_;
        if (open_.empty() || open_.back() != name) {
            Fail("</" + std::string(name) + "> closes no open element of that name");
        }
        Closed();
    }

    void Opened(std::string_view name) {
        if (open_.size() >= MaxDepth) {
            Fail("elements nested deeper than " + std::to_string(MaxDepth));
        }
        if (LocalName(name) == "track") {
            trackHasLocation_ = false;
        } else if (LocalName(name) == "location" && !open_.empty() &&
                   LocalName(open_.back()) == "track" && !trackHasLocation_) {
            capturing_ = open_.size() + 1;
            location_.clear();
        }
        open_.push_back(name);
        sawRoot_ = true;
    }

    void Closed() {
        if (capturing_ == open_.size()) {
            capturing_ = 0;
            trackHasLocation_ = true;
            const std::string_view uri = TrimBlanksAndControls(location_);
            if (!uri.empty()) {
                entries_.push_back(UriPath(uri));
            }
        }
        open_.pop_back();
    }

    void Capture(std::string_view text) {
        if (capturing_ != 0) {
            location_ += text;
        }
    }

    void Text() {
        const std::size_t end = std::min(text_.find('<', at_), text_.size());
        const std::string_view text = text_.substr(at_, end - at_);
        if (open_.empty()) {
            if (text.find_first_not_of(Blanks) != std::string_view::npos) {
                Fail("text outside the document's element");
            }
            at_ = end;
            return;
        }
        std::string decoded;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '&') {
                decoded += text[i];
                continue;
            }
            const std::size_t semicolon = text.find(';', i);
            if (semicolon == std::string_view::npos || semicolon - i > 12) {
                at_ += i;
                Fail("an '&' that starts no entity");
            }
            if (!AppendEntity(decoded, text.substr(i + 1, semicolon - i - 1))) {
                at_ += i;
                Fail("an unknown entity &" + std::string(text.substr(i + 1, semicolon - i - 1)) +
                     ";");
            }
            i = semicolon;
        }
        Capture(decoded);
        at_ = end;
    }

    // The five entities XML defines and character references; false for any other name.
    static bool AppendEntity(std::string& text, std::string_view name) {
        static constexpr std::pair<std::string_view, char> Predefined[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, character] : Predefined) {
            if (name == entity) {
                text += character;
                return true;
            }
        }
        if (!name.starts_with('#') || name.size() < 2) {
            return false;
        }
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return false;
        }
        std::uint32_t codePoint = 0;
        for (const char c : digits) {
            const int digit = c >= '0' && c <= '9' ? c - '0'
                              : hex && ToLowerAscii(c) >= 'a' && ToLowerAscii(c) <= 'f'
                                  ? ToLowerAscii(c) - 'a' + 10
                                  : -1;
            if (digit < 0 || codePoint > 0x10FFFF) {
                return false;
            }
            codePoint = codePoint * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        return AppendUtf8(text, codePoint);
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::vector<std::string_view> open_;
    bool sawRoot_ = false;
    bool trackHasLocation_ = false;
    std::size_t capturing_ = 0; // the depth of the <location> being read, or 0
    std::string location_;
    std::vector<std::string> entries_;
};

// Whether the XML declaration names an encoding that is one byte per character.
bool DeclaresLatin1(std::string_view text) {
    if (!text.starts_with("<?xml")) {
        return false;
    }
    const std::string_view declaration = text.substr(0, text.find("?>"));
    const std::string lower = ToLowerAscii(declaration);
    return lower.find("iso-8859-1") != std::string::npos ||
           lower.find("latin1") != std::string::npos ||
           lower.find("windows-1252") != std::string::npos;
}

} // namespace

std::vector<std::string> ReadXspf(std::string_view text) {
    RefuseBinary(text);
    text = WithoutByteOrderMark(text);
    if (DeclaresLatin1(text)) {
        return XspfScanner(Latin1ToUtf8(text)).Scan();
    }
    return XspfScanner(text).Scan();
}

} // namespace tralvo::media::playlists
