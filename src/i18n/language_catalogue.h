#pragma once

#include "platform/ini_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// The texts of every language, read from the catalogue file, and the language in force.
// Every lookup reads through the file's reader; the catalogue itself is never written.
class LanguageCatalogue {
public:
    // Opens the catalogue at path (a missing file gives every lookup its default) and makes
    // the catalogue's default language current.
    void Open(const std::string& path);
    void Close();

    bool FileFound() const { return fileFound_; }
    const std::string& path() const { return file_.path(); }

    std::int32_t LanguageCount() const;
    std::int32_t DefaultLanguage() const;
    bool IsValidLanguage(std::int32_t index) const;
    void SetCurrentLanguage(std::int32_t index) { current_ = index; }
    std::int32_t CurrentLanguage() const { return current_; }

    // Names of languages 0 .. Count-1; the index is the language's index.
    std::vector<std::string> LanguageNames() const;
    std::string LanguageCode() const;
    std::string DefaultLanguageCode() const;

    std::string String(std::string_view key) const;
    std::string Property(std::string_view key, bool reportMissing) const;

    // For checking a catalogue: whether language holds the string key, and whether its
    // property key exists with every alias on the way leading to an existing key.
    bool HasString(std::int32_t language, std::string_view key) const;
    bool HasProperty(std::int32_t language, std::string_view key) const;

private:
    std::string PropertyAt(std::string_view key, bool reportMissing, int depth) const;
    std::string CodeOf(std::int32_t language) const;

    IniFile file_;
    bool fileFound_ = false;
    std::int32_t current_ = 0;
};

// Section names of the catalogue file.
std::string LanguageSection(std::int32_t language);
std::string StringsSection(std::int32_t language);
std::string PropertiesSection(std::int32_t language);

// The process-wide catalogue and the operations the program calls on it.
LanguageCatalogue& Catalogue();
// Opens "Tralvo.lng" in the program's folder.
void OpenLanguageCatalogue();
void CloseLanguageCatalogue();
bool LanguageFileFound();
std::int32_t GetDefaultLanguage();
bool IsValidLanguage(std::int32_t index);
void SetCurrentLanguage(std::int32_t index);
std::int32_t GetCurrentLanguage();
std::vector<std::string> GetLanguageNames();
std::string GetLanguageCode();
std::string GetDefaultLanguageCode();
std::string GetLangString(std::string_view key);
std::string GetLangProperty(std::string_view key, bool reportMissing);

} // namespace tralvo
