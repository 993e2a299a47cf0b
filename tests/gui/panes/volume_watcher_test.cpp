#include "gui/panes/folder_tree.h"
#include "gui/panes/volume_watcher.h"
#include "platform/mount_table.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace tralvo {
namespace {

TEST(VolumeWatcher, ReportsVolumesThatCameWentOrChanged) {
    std::vector<Volume> table = {{"/", "ext4", "/dev/sda1"}, {"/media/a", "vfat", "/dev/sdb1"}};
    VolumeWatcher watcher([&] { return table; });
    std::vector<std::string> reported;
    QObject::connect(&watcher, &VolumeWatcher::VolumesChanged,
                     [&](const std::vector<Volume>&, const std::vector<std::string>& changed) {
                         reported = changed;
                     });
    EXPECT_TRUE(watcher.IsWatching());

    watcher.Check();
    EXPECT_TRUE(reported.empty());
    table = {{"/", "ext4", "/dev/sda1"}, {"/media/a", "vfat", "/dev/sdc1"}, {"/mnt/b", "xfs", "x"}};
    watcher.Check();
    EXPECT_EQ(reported, (std::vector<std::string>{"/media/a", "/mnt/b"}));
    EXPECT_EQ(watcher.Volumes().size(), 3u);
}

bool WaitUntil(const std::function<bool()>& done) {
    QTimer tick;
    tick.start(20);
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10'000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Runs a program found on the PATH, its output discarded; its exit code, -1 when it did not run.
int Run(const char* program, const QStringList& args) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QString::fromLatin1(program), args);
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process.exitCode();
}

bool IsMounted(const std::string& folder) {
    return MountPointFor(ReadMountTable(), folder) == folder;
}

// A fresh FAT image mounted in user space with fusefat, as a player appears on Linux. It is
// filled with mtools beforehand: fusefat is trusted with reading, not with writing.
class FatPlayer {
public:
    explicit FatPlayer(const test::TempFolder& temp)
        : image_(temp / "player.img"), folder_(temp.MakeFolder("PLAYER")) {}
    ~FatPlayer() { Unmount(); }
    FatPlayer(const FatPlayer&) = delete;
    FatPlayer& operator=(const FatPlayer&) = delete;

    const std::string& folder() const { return folder_; }

    static std::string Missing() {
        if (!std::filesystem::exists("/dev/fuse")) {
            return "/dev/fuse";
        }
        for (const char* program : {"fusefat", "fusermount", "mkfs.vfat", "mmd"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
                return program;
            }
        }
        return {};
    }

    // A player with one folder, Music.
    void Format() {
        const QString image = QString::fromStdString(image_);
        ASSERT_EQ(Run("truncate", {"-s", "64M", image}), 0);
        ASSERT_EQ(Run("mkfs.vfat", {"-F", "32", "-n", "PLAYER", image}), 0);
        ASSERT_EQ(Run("mmd", {"-i", image, "::/Music"}), 0);
    }

    void Mount() {
        fusefat_.setStandardOutputFile(QProcess::nullDevice());
        fusefat_.setStandardErrorFile(QProcess::nullDevice());
        fusefat_.start(QStringLiteral("fusefat"),
                       {QStringLiteral("-f"), QStringLiteral("-o"), QStringLiteral("rw+"),
                        QString::fromStdString(image_), QString::fromStdString(folder_)});
        ASSERT_TRUE(fusefat_.waitForStarted());
        for (int i = 0; i < 200 && !IsMounted(folder_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        ASSERT_TRUE(IsMounted(folder_)) << "fusefat did not mount " << folder_;
    }

    void Unmount() {
        if (fusefat_.state() == QProcess::NotRunning) {
            return;
        }
        Run("fusermount", {"-u", QString::fromStdString(folder_)});
        // fusefat finishes writing the image after fusermount returns.
        fusefat_.waitForFinished(10'000);
    }

private:
    std::string image_;
    std::string folder_;
    QProcess fusefat_;
};

TEST(VolumeWatcher, TreesFollowAPlayerBeingMountedAndUnmounted) {
    if (const std::string missing = FatPlayer::Missing(); !missing.empty()) {
        GTEST_SKIP() << "FUSE is not available here (no " << missing << ")";
    }
    const test::TempFolder temp;
    FatPlayer player(temp);
    ASSERT_NO_FATAL_FAILURE(player.Format());
    const std::string root = player.folder();

    FolderTree playerTree; // the player pane: rooted at the player's mount point
    playerTree.SetRootDir(root);
    FolderTree computerTree; // the computer pane, taking the temporary folder for /media
    computerTree.SetVolumePrefixes({temp.path()});
    int computerChanges = 0;
    QObject::connect(&computerTree, &FolderTree::Change, [&] { ++computerChanges; });
    int playerChanges = 0;
    QObject::connect(&playerTree, &FolderTree::Change, [&] { ++playerChanges; });
    QAbstractItemModel& computer = *computerTree.model();
    const QModelIndex computerNode = computer.index(0, 0);
    const auto volumeShown = [&] {
        for (int row = 0; row < computer.rowCount(computerNode); ++row) {
            if (computer.index(row, 0, computerNode).data(Qt::ToolTipRole).toString() ==
                QString::fromStdString(root + "/")) {
                return true;
            }
        }
        return false;
    };
    ASSERT_FALSE(volumeShown());

    ASSERT_NO_FATAL_FAILURE(player.Mount());
    ASSERT_TRUE(WaitUntil([&] { return volumeShown() && playerTree.RootDir() == root + "/"; }));
    const QModelIndex playerTop = playerTree.model()->index(0, 0);
    EXPECT_EQ(playerTree.model()->rowCount(playerTop), 1); // read again when mounted
    EXPECT_EQ(playerTop.data().toString(), QStringLiteral("PLAYER"));
    playerTree.SetPath(root + "/Music");
    computerTree.SetPath(root + "/Music");
    ASSERT_EQ(computerTree.Path(), root + "/Music");
    playerChanges = 0;
    computerChanges = 0;

    player.Unmount();
    ASSERT_TRUE(WaitUntil([&] { return !volumeShown() && playerTree.Path() == root; }));
    EXPECT_EQ(playerTree.model()->rowCount(playerTop), 0);
    EXPECT_EQ(playerChanges, 1);
    EXPECT_TRUE(computerTree.selectionModel()->isSelected(computerNode)); // path ""
    EXPECT_EQ(computerChanges, 1);
}

} // namespace
} // namespace tralvo
