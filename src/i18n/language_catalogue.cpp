#include "i18n/language_catalogue.h"

#include "i18n/lang_text.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "platform/text.h"

namespace tralvo {

namespace {

// The format lets an alias point at itself or two keys at each other; following more aliases
// than any real catalogue chains treats the value as missing instead of hanging.
constexpr int MaxAliasDepth = 32;

std::string CleanValue(std::string_view raw) {
    return UnescapeLangValue(TrimBlanksAndControls(raw));
}

} // namespace

std::string LanguageSection(std::int32_t language) {
    return "Language" + std::to_string(language);
}
std::string StringsSection(std::int32_t language) {
    return LanguageSection(language) + "-Strings";
}
std::string PropertiesSection(std::int32_t language) {
    return LanguageSection(language) + "-Properties";
}

void LanguageCatalogue::Open(const std::string& path) {
    fileFound_ = SystemFileSystem().FileExists(path);
    file_ = IniFile(path);
    current_ = DefaultLanguage();
}

void LanguageCatalogue::Close() {
    file_ = IniFile();
    fileFound_ = false;
}

std::int32_t LanguageCatalogue::LanguageCount() const {
    return file_.ReadInteger("Languages", "Count", 0);
}

std::int32_t LanguageCatalogue::DefaultLanguage() const {
    return file_.ReadInteger("Languages", "Default", 0);
}

bool LanguageCatalogue::IsValidLanguage(std::int32_t index) const {
    return index >= 0 && index < LanguageCount();
}

std::vector<std::string> LanguageCatalogue::LanguageNames() const {
    std::vector<std::string> names;
    const std::int32_t count = LanguageCount();
    for (std::int32_t i = 0; i < count; ++i) {
        names.push_back(file_.ReadString(LanguageSection(i), "Name",
                                         "Unknown Language (ID: " + std::to_string(i) + ")"));
    }
    return names;
}

std::string LanguageCatalogue::CodeOf(std::int32_t language) const {
    return file_.ReadString(LanguageSection(language), "Code", "EN");
}

std::string LanguageCatalogue::LanguageCode() const {
    return CodeOf(current_);
}

std::string LanguageCatalogue::DefaultLanguageCode() const {
    return CodeOf(DefaultLanguage());
}

std::string LanguageCatalogue::String(std::string_view key) const {
    const std::string fallback = "Unknown String (ID: " + std::string(key) + ")";
    return CleanValue(file_.ReadString(StringsSection(current_), key, fallback));
}

std::string LanguageCatalogue::Property(std::string_view key, bool reportMissing) const {
    return PropertyAt(key, reportMissing, 0);
}

std::string LanguageCatalogue::PropertyAt(std::string_view key, bool reportMissing,
                                          int depth) const {
    std::string value;
    if (depth <= MaxAliasDepth) {
        value = CleanValue(file_.ReadString(PropertiesSection(current_), key, ""));
    }
    if (!value.empty() && value.front() == '@') {
        value = PropertyAt(std::string_view(value).substr(1), reportMissing, depth + 1);
    }
    if (value.empty() && reportMissing) {
        value = "Unknown Property (ID: " + std::string(key) + ")";
    }
    return value;
}

bool LanguageCatalogue::HasString(std::int32_t language, std::string_view key) const {
    return file_.HasKey(StringsSection(language), key);
}

bool LanguageCatalogue::HasProperty(std::int32_t language, std::string_view key) const {
    std::string current(key);
    for (int depth = 0; depth <= MaxAliasDepth; ++depth) {
        const std::optional<std::string> raw = file_.Find(PropertiesSection(language), current);
        if (!raw) {
            return false;
        }
        const std::string value = CleanValue(*raw);
        if (value.empty() || value.front() != '@') {
            return true;
        }
        current = value.substr(1);
    }
    return false;
}

LanguageCatalogue& Catalogue() {
    static LanguageCatalogue catalogue;
    return catalogue;
}

void OpenLanguageCatalogue() {
    Catalogue().Open(DataFolder() + "Tralvo.lng");
}
void CloseLanguageCatalogue() {
    Catalogue().Close();
}
bool LanguageFileFound() {
    return Catalogue().FileFound();
}
std::int32_t GetDefaultLanguage() {
    return Catalogue().DefaultLanguage();
}
bool IsValidLanguage(std::int32_t index) {
    return Catalogue().IsValidLanguage(index);
}
void SetCurrentLanguage(std::int32_t index) {
    Catalogue().SetCurrentLanguage(index);
}
std::int32_t GetCurrentLanguage() {
    return Catalogue().CurrentLanguage();
}
std::vector<std::string> GetLanguageNames() {
    return Catalogue().LanguageNames();
}
std::string GetLanguageCode() {
    return Catalogue().LanguageCode();
}
std::string GetDefaultLanguageCode() {
    return Catalogue().DefaultLanguageCode();
}
std::string GetLangString(std::string_view key) {
    return Catalogue().String(key);
}
std::string GetLangProperty(std::string_view key, bool reportMissing) {
    return Catalogue().Property(key, reportMissing);
}

} // namespace tralvo
