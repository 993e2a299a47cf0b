#pragma once

#include "platform/status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

class AtomicWriteSteps;

// An INI file as the settings and the language catalogue use it: section and key names
// compared without regard to the case of A to Z, values trimmed of blanks and stripped of
// one matching pair of quotes, at most MaxValueLength characters. Writing changes only the
// keys written and keeps every other line where it was.
class IniFile {
public:
    static constexpr std::size_t MaxValueLength = 2047;

    IniFile() = default;
    // Reads path; a missing or unreadable file reads as empty.
    explicit IniFile(std::string path);

    // Replaces the content with text, as if it had been read from the file.
    void Parse(std::string_view text);

    const std::string& path() const { return path_; }

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    bool HasKey(std::string_view section, std::string_view key) const {
        return Find(section, key).has_value();
    }
    // The names of the section headers in file order, repeats included.
    std::vector<std::string> SectionNames() const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Writes the lines back to path; the failure names the file.
    // Writes the whole file or nothing: the old file stays whole when a step fails.
    Status Save() const;
    Status Save(AtomicWriteSteps& steps) const;

    // The file's text as Save would write it.
    std::string Text() const;

private:
    struct Line {
        std::string text;           // the line as read, without its line break
        std::string section;        // for section headers: the section's name
        std::string key;            // for key lines: the key's name
        std::size_t valueStart = 0; // for key lines: where the raw value begins in text
        enum class Kind : std::uint8_t { Other, Section, Key } kind = Kind::Other;
    };

    static Line ParseLine(std::string text);
    // Index of the header of section, or npos.
    std::size_t FindSection(std::string_view section) const;
    // Index of the key line within the section whose header is at sectionLine, or npos.
    std::size_t FindKey(std::size_t sectionLine, std::string_view key) const;

    std::string path_;
    std::vector<Line> lines_;
    std::string lineBreak_ = "\n";
    bool hasBom_ = false;
};

} // namespace tralvo
