#include "platform/ini_file.h"

#include "platform/atomic_file.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tralvo {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// A settings file or catalogue is a few kilobytes; this only guards against a stray huge file.
constexpr std::size_t MaxFileSize = 64u << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuotedPair(std::string_view text) {
    return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string ReadWholeFile(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return {};
    }
    std::string content;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        content.append(buffer, got);
        if (content.size() >= MaxFileSize) {
            content.resize(MaxFileSize);
            break;
        }
    }
    return content;
}

// Built by appending: g++ 12 warns falsely (-Wrestrict) on "x" + std::string(...) at -O3.
std::string Enclosed(char open, std::string_view text, char close) {
    std::string result(1, open);
    result.append(text);
    result.push_back(close);
    return result;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line.push_back('=');
    line.append(value);
    return line;
}

// How a value is written so that reading gives it back: a value that reading would trim or
// unquote gets a pair of quotes of its own. A line break would start a new line of the
// file, so such a value is not stored at all.
std::string EncodeValue(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return {};
    }
    if (!value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) || IsQuotedPair(value))) {
        return Enclosed('"', value, '"');
    }
    return std::string(value);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    Parse(ReadWholeFile(path_));
}

IniFile::Line IniFile::ParseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    const std::string_view view = TrimBlanks(line.text);
    if (view.empty() || view.front() == ';') {
        return line;
    }
    if (view.front() == '[') {
        const std::size_t close = view.find(']');
        line.kind = Line::Kind::Section;
        line.section = std::string(TrimBlanks(
            view.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
        return line;
    }
    const std::size_t equals = line.text.find('=');
    if (equals == std::string::npos) {
        return line;
    }
    const std::string_view key = TrimBlanks(std::string_view(line.text).substr(0, equals));
    if (key.empty()) {
        return line;
    }
    line.kind = Line::Kind::Key;
    line.key = std::string(key);
    line.valueStart = equals + 1;
    return line;
}

void IniFile::Parse(std::string_view text) {
    lines_.clear();
    hasBom_ = text.starts_with(Utf8Bom);
    if (hasBom_) {
        text.remove_prefix(Utf8Bom.size());
    }
    const std::size_t firstBreak = text.find('\n');
    lineBreak_ =
        firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r'
            ? "\r\n"
            : "\n";
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        // Stray carriage returns at a line's end are line-break residue, not part of a value.
        while (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        lines_.push_back(ParseLine(std::string(raw)));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

std::size_t IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section &&
            EqualsIgnoringCase(lines_[i].section, section)) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
    for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section) {
            break;
        }
        if (lines_[i].kind == Line::Kind::Key && EqualsIgnoringCase(lines_[i].key, key)) {
            return i;
        }
    }
    return std::string::npos;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            names.push_back(line.section);
        }
    }
    return names;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const std::size_t sectionLine = FindSection(section);
    if (sectionLine == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t keyLine = FindKey(sectionLine, key);
    if (keyLine == std::string::npos) {
        return std::nullopt;
    }
    const Line& line = lines_[keyLine];
    std::string_view value = TrimBlanks(std::string_view(line.text).substr(line.valueStart));
    if (IsQuotedPair(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, MaxValueLength));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::optional<std::string> value = Find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    const std::optional<std::string> value = Find(section, key);
    if (!value) {
        return fallback;
    }
    return ParseInteger(*value).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string encoded = EncodeValue(value);
    std::size_t sectionLine = FindSection(section);
    if (sectionLine == std::string::npos) {
        if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty()) {
            lines_.push_back(ParseLine({}));
        }
        lines_.push_back(ParseLine(Enclosed('[', section, ']')));
        lines_.push_back(ParseLine(KeyLine(key, encoded)));
        return;
    }
    const std::size_t keyLine = FindKey(sectionLine, key);
    if (keyLine != std::string::npos) {
        Line& line = lines_[keyLine];
        // Keep the key's spelling and the blanks around "=" as the author wrote them.
        std::size_t keep = line.valueStart;
        while (keep < line.text.size() && IsBlank(line.text[keep])) {
            ++keep;
        }
        if (keep == line.text.size()) {
            keep = line.valueStart;
        }
        lines_[keyLine] = ParseLine(line.text.substr(0, keep) + encoded);
        return;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    std::size_t insertAt = sectionLine + 1;
    for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section) {
            break;
        }
        if (!TrimBlanks(lines_[i].text).empty()) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  ParseLine(KeyLine(key, encoded)));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
    std::string text(hasBom_ ? Utf8Bom : std::string_view());
    for (const Line& line : lines_) {
        text += line.text;
        text += lineBreak_;
    }
    return text;
}

Status IniFile::Save() const {
    return WriteFileAtomically(path_, Text());
}

Status IniFile::Save(AtomicWriteSteps& steps) const {
    return WriteFileAtomically(path_, Text(), steps);
}

} // namespace tralvo
