// The byte source every tag parser reads through: the kept first block and the reads past it
// give the file's bytes, and a short read says whether the system failed.
#include "support/temp_folder.h"
#include "tags/byte_source.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <vector>

namespace tralvo::test {
namespace {

using tags::FileSource;

// Bytes that differ from one offset to the next, so a read from the wrong place shows.
std::string Counting(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>(i * 7 % 251);
    }
    return text;
}

std::string ReadAt(FileSource& source, std::uint64_t offset, std::size_t size) {
    std::vector<std::uint8_t> out(size);
    out.resize(source.ReadAt(offset, out));
    return {out.begin(), out.end()};
}

TEST(FileSource, ReadsAcrossTheFirstBlockAndStopsAtTheEnd) {
    const TempFolder folder;
    const std::string content = Counting(FileSource::FirstBlockSize * 3 + 11);
    const auto source = FileSource::Open(folder.WriteFile("big", content));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->FirstBlock().size(), FileSource::FirstBlockSize);
    EXPECT_EQ(ReadAt(*source, 5, 100), content.substr(5, 100));
    EXPECT_EQ(ReadAt(*source, FileSource::FirstBlockSize - 10, 30),
              content.substr(FileSource::FirstBlockSize - 10, 30));
    EXPECT_EQ(ReadAt(*source, content.size() - 4, 30), content.substr(content.size() - 4));
    EXPECT_EQ(ReadAt(*source, content.size() + 1, 30), "");
    EXPECT_FALSE(source->ReadFailed()) << "the end of the file is no failure";
}

TEST(FileSource, AFileSmallerThanABlockIsServedFromItsFirstBlock) {
    const TempFolder folder;
    const auto source = FileSource::Open(folder.WriteFile("small", "0123456789"));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->FirstBlock().size(), 10u);
    EXPECT_EQ(ReadAt(*source, 3, 100), "3456789");
    EXPECT_EQ(ReadAt(*source, 10, 5), "");
    EXPECT_FALSE(source->ReadFailed());
}

TEST(FileSource, OpensOnlyRegularFiles) {
    const TempFolder folder;
    EXPECT_EQ(FileSource::Open(folder.path()), nullptr);
    EXPECT_EQ(FileSource::Open(folder / "missing"), nullptr);
    EXPECT_NE(FileSource::Open(folder.WriteFile("empty", "")), nullptr);
}

TEST(FileSource, TellsASystemErrorFromTheEndOfTheFile) {
    const TempFolder folder;
    UniqueFd file(::open(folder.WriteFile("f", "abc").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(file.valid());
    FileSource atEnd(std::move(file));
    EXPECT_EQ(ReadAt(atEnd, 1, 10), "bc");
    EXPECT_FALSE(atEnd.ReadFailed());

    // Reading a folder's descriptor fails with EISDIR.
    UniqueFd directory(::open(folder.path().c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(directory.valid());
    FileSource failing(std::move(directory));
    EXPECT_EQ(ReadAt(failing, 0, 10), "");
    EXPECT_TRUE(failing.ReadFailed());
}

} // namespace
} // namespace tralvo::test
