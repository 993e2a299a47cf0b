// The reader's file: every read is whole or throws the load result it stands for.
#include "support/temp_folder.h"
#include "tags/id3v2/id3v2_tag.h"
#include "tags/id3v2/tag_file.h"

#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>

namespace tralvo::test {
namespace {

using tags::id3v2::FileFailure;
using tags::id3v2::TagFile;

UniqueFd OpenForReading(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_TRUE(fd.valid()) << path;
    return fd;
}

std::uint16_t FailureOf(TagFile& file, std::uint64_t offset, std::size_t size) {
    std::array<std::uint8_t, 64> bytes{};
    try {
        file.ReadAt(offset, std::span(bytes).first(size));
    } catch (const FileFailure& failure) {
        return failure.result;
    }
    return tags::id3v2_result::Ok;
}

TEST(TagFile, FillsBothPiecesFromConsecutiveBytes) {
    const TempFolder folder;
    TagFile file(OpenForReading(folder.WriteFile("f", "abcdefgh")), 8);
    std::array<std::uint8_t, 3> first{};
    std::array<std::uint8_t, 2> second{};
    file.ReadAt(2, first, second);
    EXPECT_EQ(std::string(first.begin(), first.end()), "cde");
    EXPECT_EQ(std::string(second.begin(), second.end()), "fg");
}

TEST(TagFile, AReadPastTheEndFailsAsAReadAndASystemErrorAsInputOutput) {
    const TempFolder folder;
    // A file that shrank after it was opened: its size claims more than it holds.
    TagFile shrunk(OpenForReading(folder.WriteFile("f", "abc")), 64);
    EXPECT_EQ(FailureOf(shrunk, 0, 3), tags::id3v2_result::Ok);
    EXPECT_EQ(FailureOf(shrunk, 1, 3), tags::id3v2_result::ReadFailed);

    // Reading a folder's descriptor fails with EISDIR.
    TagFile folderFile(OpenForReading(folder.path()), 64);
    EXPECT_EQ(FailureOf(folderFile, 0, 3), tags::id3v2_result::IoFailure);
}

} // namespace
} // namespace tralvo::test
