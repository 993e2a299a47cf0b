#include "platform/version_record.h"

#include "platform/ini_file.h"

#include <array>
#include <utility>

namespace tralvo {

namespace {

constexpr std::string_view RecordSection = "StringFileInfo";

} // namespace

VersionRecord::VersionRecord()
    : companyName_(NotRead), fileDescription_(NotRead), fileVersion_(NotRead),
      internalName_(NotRead), legalCopyright_(NotRead), legalTradeMark_(NotRead),
      originalFileName_(NotRead), productName_(NotRead), productVersion_(NotRead),
      comments_(NotRead) {}

VersionRecord::VersionRecord(std::optional<std::string_view> record) : VersionRecord() {
    if (record && !record->empty()) {
        Read(*record);
    }
}

void VersionRecord::Read(std::string_view record) {
    IniFile ini;
    ini.Parse(record);
    const std::array<std::pair<std::string_view, std::string*>, 10> texts = {{
        {"CompanyName", &companyName_},
        {"FileDescription", &fileDescription_},
        {"FileVersion", &fileVersion_},
        {"InternalName", &internalName_},
        {"LegalCopyright", &legalCopyright_},
        {"LegalTradeMarks", &legalTradeMark_},
        {"OriginalFileName", &originalFileName_},
        {"ProductName", &productName_},
        {"ProductVersion", &productVersion_},
        {"Comments", &comments_},
    }};
    for (const auto& [key, text] : texts) {
        *text = ini.ReadString(RecordSection, key, "");
    }
}

std::string VersionText(const VersionRecord& record, std::string_view program) {
    std::string text(program);
    text += ' ';
    text += record.ProductVersion();
    text += '\n';
    for (const std::string* line :
         {&record.FileDescription(), &record.LegalCopyright(), &record.Comments()}) {
        if (!line->empty()) {
            text += *line;
            text += '\n';
        }
    }
    return text;
}

} // namespace tralvo
