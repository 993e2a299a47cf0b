#include "platform/volume_labels.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string_view>
#include <utility>

namespace tralvo {
namespace {

TEST(DecodeUdevLabel, DecodesHexEscapesOfEitherCaseAndKeepsAnythingElse) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"MY\\x20PLAYER", "MY PLAYER"},
        {"a\\x2fb\\x2Fc", "a/b/c"},
        {"\\x5c\\x41", "\\A"},
        {"\\xe4", "\xe4"},
        // Not escapes: a non-hex digit, a missing x, a cut-off end.
        {"a\\x2g", "a\\x2g"},
        {"a\\y20", "a\\y20"},
        {"a\\x2", "a\\x2"},
        {"\\", "\\"},
    };
    for (const auto& [name, label] : cases) {
        EXPECT_EQ(DecodeUdevLabel(name), label) << name;
    }
}

class VolumeLabelsTest : public testing::Test {
protected:
    void SetUp() override {
        device = folder.WriteFile("sdb1", "");
        folder.MakeFolder("by-label");
        folder.MakeFolder("by-uuid");
        std::filesystem::create_symlink(device, folder / "by-label/MY\\x20PLAYER");
        std::filesystem::create_symlink(device, folder / "by-uuid/1234-ABCD");
        std::filesystem::create_symlink(folder / "nothing", folder / "by-label/DANGLING");
    }

    test::TempFolder folder;
    std::string device;
};

TEST_F(VolumeLabelsTest, ReadsTheLabelsOfResolvedDevicesAndLeavesDanglingLinksOut) {
    const VolumeLabels labels = ReadVolumeLabels(folder / "by-label");
    const std::string resolved = std::filesystem::canonical(device).string();
    EXPECT_EQ(labels, (VolumeLabels{{resolved, "MY PLAYER"}}));
    EXPECT_TRUE(ReadVolumeLabels(folder / "missing").empty());
}

TEST_F(VolumeLabelsTest, FindsTheLabelOfAVolumeWhateverLinkItsSourceNamesTheDeviceBy) {
    const VolumeLabels labels = ReadVolumeLabels(folder / "by-label");
    EXPECT_EQ(VolumeLabel({"/media/user/PLAYER", "vfat", folder / "by-uuid/1234-ABCD"}, labels),
              "MY PLAYER");
    EXPECT_EQ(VolumeLabel({"/media/user/PLAYER", "vfat", device}, labels), "MY PLAYER");
    EXPECT_EQ(VolumeLabel({"/media/user/PLAYER", "vfat", device}, {}), "");
    EXPECT_EQ(VolumeLabel({"/", "ext4", folder / "sdb2"}, labels), "");

    // A source that cannot be resolved is looked up as written; one that is no path never.
    EXPECT_EQ(VolumeLabel({"/mnt/a", "vfat", "/dev/tralvo-test-gone"},
                          {{"/dev/tralvo-test-gone", "GONE"}}),
              "GONE");
    EXPECT_EQ(VolumeLabel({"/mnt/fat", "fuse.fusefat", "fusefat"}, {{"fusefat", "FUSE"}}), "");
}

} // namespace
} // namespace tralvo
