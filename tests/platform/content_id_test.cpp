// What identifies a track's bytes across renames, and whether a folder's volume folds case:
// on /tmp, and on a FAT image served by fusefat.
#include "platform/content_id.h"
#include "support/fat_image.h"
#include "support/fuse_fat_mount.h"
#include "support/named_pipe.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;

constexpr std::size_t KiB = 1024;

// Bytes that differ from block to block, so that no two regions of a file look alike.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 4096) % 256);
    }
    return bytes;
}

ContentId IdOf(const std::string& path) {
    ContentId id;
    const Status read = ReadContentIdOf(path, id);
    EXPECT_TRUE(read) << path << ": " << read.message();
    return id;
}

std::string Flipped(std::string bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
}

class ContentIdTest : public testing::Test {
protected:
    test::TempFolder folder;
};

TEST_F(ContentIdTest, EqualBytesGiveEqualIdsWhateverTheFilesAreCalled) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, 64 * KiB, 200 * KiB}) {
        const std::string bytes = Pattern(size);
        const ContentId a = IdOf(folder.WriteFile("a.mp3", bytes));
        const ContentId b = IdOf(folder.WriteFile("Other name.MP3", bytes));
        EXPECT_EQ(a, b) << size;
        EXPECT_FALSE(a.link) << size;
        EXPECT_EQ(a.size, size);
    }
}

// Journals keep these ids to find tracks after the program was updated: the hash is 64-bit
// FNV-1a of the bytes and must stay so.
TEST_F(ContentIdTest, TheHashOfASmallFileIsFnv1aOfItsBytes) {
    EXPECT_EQ(IdOf(folder.WriteFile("empty", "")), (ContentId{false, 0, 0xcbf29ce484222325u}));
    EXPECT_EQ(IdOf(folder.WriteFile("a", "a")), (ContentId{false, 1, 0xaf63dc4c8601ec8cu}));
}

TEST_F(ContentIdTest, ABytesChangeInTheFirstOrLastBlockOrInTheSizeTellsFilesApart) {
    // Sizes where the first and last 64 KiB overlap, touch, and lie apart.
    for (const std::size_t size : {64 * KiB + 1, 100 * KiB, 128 * KiB, 200 * KiB, 1024 * KiB}) {
        const std::string bytes = Pattern(size);
        const ContentId original = IdOf(folder.WriteFile("original", bytes));
        EXPECT_NE(IdOf(folder.WriteFile("first", Flipped(bytes, 0))), original) << size;
        EXPECT_NE(IdOf(folder.WriteFile("last", Flipped(bytes, size - 1))), original) << size;
        EXPECT_NE(IdOf(folder.WriteFile("block end", Flipped(bytes, 64 * KiB - 1))), original)
            << size;
        EXPECT_NE(IdOf(folder.WriteFile("longer", bytes + '\0')), original) << size;
    }
}

// Only the first and last 64 KiB are read, so that a large folder is identified quickly: a
// change in between goes unseen. Tracks with the same head, tail and size are taken alike.
TEST_F(ContentIdTest, AChangeBetweenTheFirstAndLastBlockGoesUnseen) {
    const std::string bytes = Pattern(1024 * KiB);
    const ContentId original = IdOf(folder.WriteFile("original", bytes));
    EXPECT_EQ(IdOf(folder.WriteFile("middle", Flipped(bytes, 512 * KiB))), original);
    EXPECT_EQ(IdOf(folder.WriteFile("just inside", Flipped(bytes, 64 * KiB))), original);
}

TEST_F(ContentIdTest, ALinkIsIdentifiedByTheTextOfItsTargetWithoutFollowingIt) {
    const std::string target = folder.WriteFile("track.mp3", Pattern(100 * KiB));
    stdfs::create_symlink("track.mp3", folder / "link.mp3");
    stdfs::create_symlink("track.mp3", folder / "another link.mp3");
    stdfs::create_symlink("./track.mp3", folder / "other text.mp3");
    stdfs::create_symlink("gone.mp3", folder / "dangling.mp3");
    // A file that holds the very text a link points by.
    const ContentId text = IdOf(folder.WriteFile("text.mp3", "track.mp3"));

    const ContentId link = IdOf(folder / "link.mp3");
    EXPECT_TRUE(link.link);
    EXPECT_EQ(link.size, std::string("track.mp3").size());
    EXPECT_NE(link, IdOf(target));
    EXPECT_EQ(IdOf(folder / "another link.mp3"), link);
    EXPECT_NE(IdOf(folder / "other text.mp3"), link);
    EXPECT_NE(text, link);
    const ContentId dangling = IdOf(folder / "dangling.mp3");
    EXPECT_TRUE(dangling.link);
    EXPECT_NE(dangling, link);

    // Changing the target's bytes changes nothing of the link's.
    test::WriteWholeFile(target, "changed");
    EXPECT_EQ(IdOf(folder / "link.mp3"), link);
}

TEST_F(ContentIdTest, EntriesThatAreNoFilesFailAtOnceWithoutWaitingOnAPipe) {
    ASSERT_TRUE(test::MakeNamedPipe(folder / "pipe.mp3"));
    folder.MakeFolder("Album.mp3");
    stdfs::create_symlink("pipe.mp3", folder / "link to pipe.mp3");
    const test::HangGuard guard(10);
    const auto start = std::chrono::steady_clock::now();
    ContentId id;
    const Status pipe = ReadContentIdOf(folder / "pipe.mp3", id);
    EXPECT_FALSE(pipe);
    EXPECT_EQ(pipe.code(), EINVAL) << pipe.message();
    const Status directory = ReadContentIdOf(folder / "Album.mp3", id);
    EXPECT_FALSE(directory);
    EXPECT_EQ(directory.code(), EISDIR) << directory.message();
    EXPECT_EQ(ReadContentIdOf(folder / "missing.mp3", id).code(), ENOENT);
    // A link to a pipe is still only its text.
    EXPECT_TRUE(ReadContentIdOf(folder / "link to pipe.mp3", id));
    EXPECT_TRUE(id.link);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(FolderFoldsCase, NotOnAFileSystemThatKeepsCase) {
    const test::TempFolder folder;
    EXPECT_FALSE(FolderFoldsCase(folder.MakeFolder("Empty")));
    const std::string music = folder.MakeFolder("Music");
    folder.WriteFile("Music/123", "");
    folder.WriteFile("Music/Song.mp3", "");
    EXPECT_FALSE(FolderFoldsCase(music));
    EXPECT_FALSE(FolderFoldsCase(music + "/"));
    // Both spellings present, as two entries.
    folder.WriteFile("Music/sONG.MP3", "");
    EXPECT_FALSE(FolderFoldsCase(music));
    EXPECT_FALSE(FolderFoldsCase(folder / "Missing"));
}

class FusefatCaseTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        ASSERT_TRUE(image.made());
        ASSERT_TRUE(image.MakeFolder("Music"));
        ASSERT_TRUE(image.MakeFolder("Empty"));
        ASSERT_TRUE(image.Write("Music", {{"Song.mp3", "bytes"}}));
        ASSERT_TRUE(image.Mount());
    }

    test::TempFolder temp;
    test::FatImage image{temp};
};

// fusefat finds an entry under its name in any case, as a player's FAT driver does.
TEST_F(FusefatCaseTest, TheImageTakesNamesInAnyCase) {
    EXPECT_TRUE(stdfs::exists(image / "music/SONG.MP3"));
    EXPECT_TRUE(stdfs::exists(image / "eMPTY"));
}

// fusefat (libfuse without use_ino) numbers each spelling it is asked for on its own, so the
// folding is told by a spelling that is found but not listed, not by inode numbers.
TEST_F(FusefatCaseTest, ItsFoldersFoldCase) {
    EXPECT_TRUE(FolderFoldsCase(image / "Music"));
    EXPECT_TRUE(FolderFoldsCase(image / "Empty"));
}

} // namespace
} // namespace tralvo
