// Volume serial numbers read from boot sectors that mkfs.vfat and mkfs.exfat wrote, and the
// identity of a FAT image mounted in user space with fusefat, which has to stay the same
// wherever the image is mounted.
#include "platform/volume_identity.h"
#include "support/fat_image.h"
#include "support/fuse_fat_mount.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace tralvo {
namespace {

constexpr const char* MkfsVfat = "/usr/sbin/mkfs.vfat";
constexpr const char* MkfsExfat = "/usr/sbin/mkfs.exfat";
constexpr const char* TuneExfat = "/usr/sbin/tune.exfat";

bool Installed(const char* program) {
    return ::access(program, X_OK) == 0;
}

std::string FirstSector(const std::string& image) {
    std::string sector(512, '\0');
    const int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = fd >= 0 ? ::pread(fd, sector.data(), sector.size(), 0) : -1;
    if (fd >= 0) {
        ::close(fd);
    }
    EXPECT_EQ(got, 512) << image;
    sector.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return sector;
}

// A FAT image of the given type (12, 16 or 32) whose serial number is serial (8 hex digits).
std::string MakeFatImage(const test::TempFolder& temp, int type, const std::string& serial,
                         int kilobytes) {
    const std::string image = temp / ("fat" + std::to_string(type) + ".img");
    const test::ProcessResult made =
        test::RunProcess(MkfsVfat, {"-F", std::to_string(type), "-i", serial, "-n", "PLAYER", "-C",
                                    image, std::to_string(kilobytes)});
    EXPECT_EQ(made.exitCode, 0) << made.out << made.err;
    return image;
}

// mkfs.exfat picks the serial number itself; tune.exfat sets it afterwards.
std::string MakeExfatImage(const test::TempFolder& temp, const std::string& serial) {
    const std::string image = temp / "exfat.img";
    const int fd = ::open(image.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::ftruncate(fd, 16 << 20), 0);
    ::close(fd);
    const test::ProcessResult made = test::RunProcess(MkfsExfat, {image});
    EXPECT_EQ(made.exitCode, 0) << made.out << made.err;
    const test::ProcessResult tuned = test::RunProcess(TuneExfat, {"-I", "0x" + serial, image});
    EXPECT_EQ(tuned.exitCode, 0) << tuned.out << tuned.err;
    return image;
}

class BootSectorTest : public testing::Test {
protected:
    void SetUp() override {
        if (!Installed(MkfsVfat)) {
            GTEST_SKIP() << "no " << MkfsVfat;
        }
    }
    test::TempFolder temp;
};

TEST_F(BootSectorTest, ReadsTheSerialNumberOfEveryFatTypeAsUdevWritesIt) {
    // Leading zeros kept, hex digits in capitals.
    EXPECT_EQ(SerialOfBootSector(FirstSector(MakeFatImage(temp, 12, "00c0ffee", 1024))),
              "00C0-FFEE");
    EXPECT_EQ(SerialOfBootSector(FirstSector(MakeFatImage(temp, 16, "1A2B3C4D", 16 * 1024))),
              "1A2B-3C4D");
    EXPECT_EQ(SerialOfBootSector(FirstSector(MakeFatImage(temp, 32, "DEADBEEF", 64 * 1024))),
              "DEAD-BEEF");
}

TEST_F(BootSectorTest, ReadsTheSerialNumberOfExfat) {
    if (!Installed(MkfsExfat) || !Installed(TuneExfat)) {
        GTEST_SKIP() << "no " << MkfsExfat << " or " << TuneExfat;
    }
    const std::string sector = FirstSector(MakeExfatImage(temp, "12345678"));
    EXPECT_EQ(SerialOfBootSector(sector), "1234-5678");
    EXPECT_EQ(LabelOfBootSector(sector), ""); // exFAT keeps it in the root folder
}

// Where udev lists no volume, the boot sector's label names the player.
TEST_F(BootSectorTest, ReadsTheLabelOfEveryFatTypeWithoutItsPadding) {
    for (const int type : {12, 16, 32}) {
        std::string sector = FirstSector(MakeFatImage(temp, type, "1A2B3C4D", 64 * 1024));
        ASSERT_EQ(sector.size(), 512u);
        EXPECT_EQ(LabelOfBootSector(sector), "PLAYER") << type;
        const std::size_t at = type == 32 ? 0x47 : 0x2B;
        sector.replace(at, 11, "NO NAME    ");
        EXPECT_EQ(LabelOfBootSector(sector), "") << type;
        sector.replace(at, 11, "BAD\nLABEL  ");
        EXPECT_EQ(LabelOfBootSector(sector), "") << type;
        sector[511] = '\0'; // no boot sector at all
        EXPECT_EQ(LabelOfBootSector(sector), "") << type;
    }
}

TEST_F(BootSectorTest, BytesThatAreNoBootSectorWithASerialNumberGiveNone) {
    const std::string fat16 = FirstSector(MakeFatImage(temp, 16, "1A2B3C4D", 16 * 1024));
    const std::string fat32 = FirstSector(MakeFatImage(temp, 32, "1A2B3C4D", 64 * 1024));
    ASSERT_EQ(fat16.size(), 512u);
    ASSERT_EQ(fat32.size(), 512u);

    std::vector<std::pair<std::string, std::string>> cases;
    cases.emplace_back("empty", "");
    cases.emplace_back("zeros", std::string(512, '\0'));
    std::string zerosMarked(512, '\0');
    zerosMarked[510] = '\x55';
    zerosMarked[511] = '\xAA';
    cases.emplace_back("zeros with the boot signature", zerosMarked);
    std::string garbage(512, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>((i * 37 + 11) % 251);
    }
    cases.emplace_back("garbage", garbage);
    garbage[510] = '\x55';
    garbage[511] = '\xAA';
    cases.emplace_back("garbage with the boot signature", garbage);
    cases.emplace_back("FAT16 cut short by a byte", fat16.substr(0, 511));
    cases.emplace_back("FAT16 cut short after the serial", fat16.substr(0, 64));
    cases.emplace_back("FAT32 cut short after the serial", fat32.substr(0, 100));
    std::string unsigned16 = fat16;
    unsigned16[0x26] = '\0'; // an old boot sector without the extended record
    cases.emplace_back("FAT16 without 0x29", unsigned16);
    std::string unsigned32 = fat32;
    unsigned32[0x42] = '\0';
    cases.emplace_back("FAT32 without 0x29", unsigned32);
    std::string unmarked = fat16;
    unmarked[510] = '\0';
    cases.emplace_back("FAT16 without the boot signature", unmarked);
    std::string zeroSerial = fat32;
    zeroSerial.replace(0x43, 4, 4, '\0');
    cases.emplace_back("FAT32 with the serial number 0", zeroSerial);
    if (Installed(MkfsExfat) && Installed(TuneExfat)) {
        const std::string exfat = FirstSector(MakeExfatImage(temp, "12345678"));
        cases.emplace_back("exFAT cut short after the serial", exfat.substr(0, 104));
        std::string exfatUnmarked = exfat;
        exfatUnmarked[511] = '\0';
        cases.emplace_back("exFAT without the boot signature", exfatUnmarked);
    }
    for (const auto& [what, sector] : cases) {
        EXPECT_EQ(SerialOfBootSector(sector), "") << what;
    }
    // The FAT12/16 and FAT32 places of the record are told apart by the layout, not guessed
    // from whichever holds 0x29.
    std::string moved = fat16;
    moved[0x42] = '\x29';
    moved[0x26] = '\0';
    EXPECT_EQ(SerialOfBootSector(moved), "");
}

std::string Resolved(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    std::string text = resolved != nullptr ? resolved : "";
    std::free(resolved);
    return text;
}

class MountedImageIdentityTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        if (!Installed(MkfsVfat)) {
            GTEST_SKIP() << "no " << MkfsVfat;
        }
        image = MakeFatImage(temp, 32, "1A2B3C4D", 64 * 1024);
        const test::ProcessResult made =
            test::RunProcess("/usr/bin/mmd", {"-i", image, "::/Music", "::/Music/Album"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }

    test::TempFolder temp;
    std::string image;
};

TEST_F(MountedImageIdentityTest, IsTheImagesSerialNumberWithTheMountPointAsRoot) {
    const std::string at = temp.MakeFolder("first");
    test::FuseFatMount mount(image, at);
    ASSERT_TRUE(mount.mounted());
    for (const std::string& path : {at, at + "/", at + "/Music", at + "/Music/Album/"}) {
        const std::optional<VolumeIdentity> volume = IdentifyVolume(path);
        ASSERT_TRUE(volume.has_value()) << path;
        EXPECT_EQ(volume->id, "1A2B-3C4D") << path;
        EXPECT_EQ(volume->root, Resolved(at)) << path;
        EXPECT_EQ(volume->label, "PLAYER") << path;
    }
    EXPECT_EQ(IdentifyVolume(at + "/Missing"), std::nullopt);
}

TEST_F(MountedImageIdentityTest, StaysTheSameWhereverTheImageIsMounted) {
    const std::string first = temp.MakeFolder("first");
    const std::string second = temp.MakeFolder("second/deeper");
    std::optional<VolumeIdentity> atFirst;
    {
        test::FuseFatMount mount(image, first);
        ASSERT_TRUE(mount.mounted());
        atFirst = IdentifyVolume(first + "/Music");
        ASSERT_TRUE(mount.Unmount());
    }
    // The folder left behind belongs to the volume below it again.
    const std::optional<VolumeIdentity> emptied = IdentifyVolume(first);
    EXPECT_TRUE(!emptied || (emptied->id != "1A2B-3C4D" && emptied->root != Resolved(first)));

    test::FuseFatMount mount(image, second);
    ASSERT_TRUE(mount.mounted());
    const std::optional<VolumeIdentity> atSecond = IdentifyVolume(second + "/Music");
    ASSERT_TRUE(atFirst.has_value());
    ASSERT_TRUE(atSecond.has_value());
    EXPECT_EQ(atFirst->id, "1A2B-3C4D");
    EXPECT_EQ(atSecond->id, atFirst->id);
    EXPECT_EQ(atFirst->root, Resolved(first));
    EXPECT_EQ(atSecond->root, Resolved(second));
}

// A user may well start fusefat with paths relative to the folder they are in.
TEST_F(MountedImageIdentityTest, IsFoundWhenFusefatWasGivenRelativePaths) {
    temp.MakeFolder("mnt");
    test::FuseFatMount mount("fat32.img", "mnt", true, temp.path());
    ASSERT_TRUE(mount.mounted());
    const std::optional<VolumeIdentity> volume = IdentifyVolume(temp / "mnt/Music");
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(volume->id, "1A2B-3C4D");
    EXPECT_EQ(volume->root, Resolved(temp / "mnt"));
}

} // namespace
} // namespace tralvo
