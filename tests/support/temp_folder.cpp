#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tralvo::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tralvo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // A test may have made parts read-only; give write access back before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::operator/(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

std::string TempFolder::WriteFile(std::string_view name, std::string_view content) const {
    const std::string file = *this / name;
    WriteWholeFile(file, content);
    return file;
}

std::string TempFolder::MakeFolder(std::string_view name) const {
    const std::string folder = *this / name;
    std::error_code error;
    EXPECT_TRUE(std::filesystem::create_directories(folder, error))
        << folder << ": " << error.message();
    return folder;
}

void WriteWholeFile(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    EXPECT_TRUE(out.is_open()) << "cannot create " << path;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << path;
}

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> content) {
    WriteWholeFile(path,
                   std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot open " << path;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace tralvo::test
