#include "gui/panes/core/file_listing.h"
#include "support/apple_double_file.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(FileListing, KnowsTheFourAudioExtensionsInAnyLetterCase) {
    for (const char* name : {"a.mp3", "b.MP3", "c.Ogg", "d.wma", "e.WAV", "x.y.mp3", ".mp3"}) {
        EXPECT_TRUE(IsAudioFileName(name)) << name;
    }
    for (const char* name : {"a.mp4", "mp3", "a.mp3.txt", "a.", "a.\xC9MP3"}) {
        EXPECT_FALSE(IsAudioFileName(name)) << name;
    }
}

TEST(FileListing, KnowsThePlaylistExtensionsInAnyLetterCase) {
    for (const char* name : {"a.m3u", "b.M3U8", "c.Pls", "d.xspf", ".m3u"}) {
        EXPECT_TRUE(IsPlaylistFileName(name)) << name;
    }
    for (const char* name : {"a.m3u9", "m3u", "a.pls.txt", "a.xsp", "a.mp3"}) {
        EXPECT_FALSE(IsPlaylistFileName(name)) << name;
    }
}

TEST(FileListing, ListsAudioFilesAndPlaylistsOnlyHiddenOnesIncluded) {
    test::TempFolder folder;
    for (const char* name : {"b.MP3", "a.txt", ".d.wav", "e.ogg", "f.M3U8", "g.xspf.bak"}) {
        folder.WriteFile(name, "x");
    }
    folder.MakeFolder("c.ogg");
    std::vector<std::string> names = FileListNamesIn(folder.path() + "/", SystemFileSystem());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".d.wav", "b.MP3", "e.ogg", "f.M3U8"}));
    EXPECT_TRUE(FileListNamesIn(folder / "missing/", SystemFileSystem()).empty());
    EXPECT_TRUE(FileListNamesIn("", SystemFileSystem()).empty());
}

TEST(FileListing, LeavesOutAppleDoubleCompanionsButNotAudioWithTheirNames) {
    test::TempFolder folder;
    folder.WriteFile("Song.mp3", "x");
    folder.WriteFile("._Song.mp3", test::AppleDoubleContent());
    folder.WriteFile("._Live.mp3", "ID3");
    std::vector<std::string> names = FileListNamesIn(folder.path() + "/", SystemFileSystem());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"._Live.mp3", "Song.mp3"}));
}

} // namespace
} // namespace tralvo
