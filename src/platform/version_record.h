#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tralvo {

// The texts of the program's version record. Until a record is read, every text holds
// NotRead; a record that lacks a key gives an empty text for it.
class VersionRecord {
public:
    static constexpr std::string_view NotRead = "Updated at run-time";

    VersionRecord();
    // record: the record's text (INI lines under [StringFileInfo]); none or an empty one
    // is a program without a record, which leaves every text at NotRead.
    explicit VersionRecord(std::optional<std::string_view> record);

    const std::string& CompanyName() const { return companyName_; }
    const std::string& FileDescription() const { return fileDescription_; }
    const std::string& FileVersion() const { return fileVersion_; }
    const std::string& InternalName() const { return internalName_; }
    const std::string& LegalCopyright() const { return legalCopyright_; }
    const std::string& LegalTradeMark() const { return legalTradeMark_; } // "LegalTradeMarks"
    const std::string& OriginalFileName() const { return originalFileName_; }
    const std::string& ProductName() const { return productName_; }
    const std::string& ProductVersion() const { return productVersion_; }
    const std::string& Comments() const { return comments_; }

private:
    void Read(std::string_view record);

    std::string companyName_;
    std::string fileDescription_;
    std::string fileVersion_;
    std::string internalName_;
    std::string legalCopyright_;
    std::string legalTradeMark_;
    std::string originalFileName_;
    std::string productName_;
    std::string productVersion_;
    std::string comments_;
};

// The program's own record, compiled in from the project's version.
std::string_view ProgramVersionRecordText();

// What "--version" prints: "program version", then the description, the copyright and the
// comments, one line each.
std::string VersionText(const VersionRecord& record, std::string_view program);

} // namespace tralvo
