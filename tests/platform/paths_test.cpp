#include "platform/paths.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(FolderWithSlash, AddsOneSlashOnlyWhereNoneEnds) {
    EXPECT_EQ(FolderWithSlash("/media/player"), "/media/player/");
    EXPECT_EQ(FolderWithSlash("/media/player/"), "/media/player/");
    EXPECT_EQ(FolderWithSlash("/media/player//"), "/media/player//");
    EXPECT_EQ(FolderWithSlash("/"), "/");
    EXPECT_EQ(FolderWithSlash(""), "/");
    EXPECT_EQ(FolderWithSlash("music"), "music/");
}

TEST(WithoutTrailingSlashes, RemovesEveryEndingSlashButTheRoot) {
    EXPECT_EQ(WithoutTrailingSlashes("/media/player///"), "/media/player");
    EXPECT_EQ(WithoutTrailingSlashes("/media/player"), "/media/player");
    EXPECT_EQ(WithoutTrailingSlashes("///"), "/");
    EXPECT_EQ(WithoutTrailingSlashes("/"), "/");
    EXPECT_EQ(WithoutTrailingSlashes(""), "");
}

TEST(BaseName, IsWhatFollowsTheLastSlash) {
    EXPECT_EQ(BaseName("/media/player/Song.mp3"), "Song.mp3");
    EXPECT_EQ(BaseName("Song.mp3"), "Song.mp3");
    EXPECT_EQ(BaseName("/Song.mp3"), "Song.mp3");
    EXPECT_EQ(BaseName("/media/player/"), "");
    EXPECT_EQ(BaseName("/"), "");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(BaseName("/media/.hidden"), ".hidden");
}

TEST(ParentFolder, IsTheFolderPartWithoutItsSlash) {
    EXPECT_EQ(ParentFolder("/media/player/Song.mp3"), "/media/player");
    EXPECT_EQ(ParentFolder("/Song.mp3"), "/");
    EXPECT_EQ(ParentFolder("Song.mp3"), ".");
    EXPECT_EQ(ParentFolder(""), ".");
    EXPECT_EQ(ParentFolder("/media/player/"), "/media/player");
}

TEST(Extension, StartsAtTheLastDotOfTheBaseName) {
    EXPECT_EQ(Extension("/m/Song.MP3"), ".MP3");
    EXPECT_EQ(Extension("/m/song.mp3.bak"), ".bak");
    EXPECT_EQ(Extension("song."), ".");
    EXPECT_EQ(Extension("/m/noextension"), "");
    EXPECT_EQ(Extension(""), "");
    EXPECT_EQ(Extension("/"), "");
}

TEST(Extension, IgnoresDotsInFolderNames) {
    EXPECT_EQ(Extension("/m.mp3/noextension"), "");
    EXPECT_EQ(Extension("/m.mp3/"), "");
    EXPECT_EQ(Extension("./track"), "");
}

TEST(Extension, OfADotFileIsTheWholeName) {
    EXPECT_EQ(Extension("/m/.mp3"), ".mp3");
    EXPECT_EQ(Extension(".hidden"), ".hidden");
    EXPECT_EQ(Extension("/m/.cover.jpg"), ".jpg");
}

TEST(FolderHoldsPath, ComparesWholeComponents) {
    EXPECT_TRUE(FolderHoldsPath("/mnt/a", "/mnt/a"));
    EXPECT_TRUE(FolderHoldsPath("/mnt/a", "/mnt/a/b"));
    EXPECT_TRUE(FolderHoldsPath("/mnt/a", "/mnt/a/"));
    EXPECT_FALSE(FolderHoldsPath("/mnt/a", "/mnt/ab"));
    EXPECT_FALSE(FolderHoldsPath("/mnt/a", "/mnt"));
    EXPECT_FALSE(FolderHoldsPath("/mnt/a", ""));
}

TEST(FolderHoldsPath, RootHoldsEveryAbsolutePathOnly) {
    EXPECT_TRUE(FolderHoldsPath("/", "/"));
    EXPECT_TRUE(FolderHoldsPath("/", "/mnt/a"));
    EXPECT_FALSE(FolderHoldsPath("/", "mnt/a"));
    EXPECT_FALSE(FolderHoldsPath("/", ""));
}

TEST(FolderHoldsPath, ComparesCaseExactly) {
    // Two volumes may be mounted as "/media/Player" and "/media/player".
    EXPECT_FALSE(FolderHoldsPath("/media/Player", "/media/player/Music"));
}

TEST(FolderRelativeTo, ResolvesDotsByNameAndEndsInASlash) {
    EXPECT_EQ(FolderRelativeTo("/usr/bin/", "../share/tralvo"), "/usr/share/tralvo/");
    EXPECT_EQ(FolderRelativeTo("/opt/t/bin", "../lib/tralvo/"), "/opt/t/lib/tralvo/");
    EXPECT_EQ(FolderRelativeTo("/a//b/./c/", "./../d"), "/a/b/d/");
    EXPECT_EQ(FolderRelativeTo("/bin/", "../../../x"), "/x/"); // never above the root
    EXPECT_EQ(FolderRelativeTo("/usr/bin/", "/etc/tralvo"), "/etc/tralvo/");
    EXPECT_EQ(FolderRelativeTo("/usr/bin/", ""), "/usr/bin/");
    EXPECT_EQ(FolderRelativeTo("/", ".."), "/");
}

} // namespace
} // namespace tralvo
