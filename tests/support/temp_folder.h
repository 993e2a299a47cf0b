#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tralvo::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing '/'.
    const std::string& path() const { return path_; }
    // path() + "/" + name.
    std::string operator/(std::string_view name) const;

    // Writes content to the file name (relative to the folder); the test fails if it cannot.
    std::string WriteFile(std::string_view name, std::string_view content) const;
    std::string MakeFolder(std::string_view name) const;

private:
    std::string path_;
};

// Writes content to path, replacing the file; the test fails if it cannot.
void WriteWholeFile(const std::string& path, std::string_view content);
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> content);

// The whole content of a file; the test fails if it cannot be read.
std::string ReadFile(const std::string& path);

} // namespace tralvo::test
