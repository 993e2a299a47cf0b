#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tralvo {
namespace {

// A disk that fills up after limit bytes, or a rename that fails.
class FailingSteps : public AtomicWriteSteps {
public:
    std::size_t limit = static_cast<std::size_t>(-1);
    bool failRename = false;
    std::size_t written = 0;

    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (written >= limit) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t now = std::min(size, limit - written);
        const ssize_t result = AtomicWriteSteps::Write(fd, data, now);
        written += static_cast<std::size_t>(std::max<ssize_t>(result, 0));
        return result;
    }
    int RenameReplacing(const char* from, const char* to) override {
        if (failRename) {
            errno = EIO;
            return -1;
        }
        return AtomicWriteSteps::RenameReplacing(from, to);
    }
};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

constexpr std::string_view OldText = "[Player]\r\nDrive=@\r\n; kept\r\n";

TEST(AtomicFile, AWriteCutOffAnywhereLeavesTheOldFileWholeAndNoTemporaryFile) {
    test::TempFolder folder;
    const std::string path = folder.WriteFile("Tralvo.ini", OldText);
    IniFile ini(path);
    ini.WriteString("Window", "LastMyPlayerPath", std::string(5000, 'x'));
    const std::size_t size = ini.Text().size();
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, size / 2, size - 1}) {
        FailingSteps steps;
        steps.limit = limit;
        const Status status = ini.Save(steps);
        EXPECT_FALSE(status.ok()) << limit;
        EXPECT_NE(status.message().find(path), std::string::npos) << status.message();
        EXPECT_EQ(test::ReadFile(path), OldText) << limit;
        EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"Tralvo.ini"}) << limit;
    }
}

TEST(AtomicFile, AFailedRenameLeavesTheOldFileWholeAndNoTemporaryFile) {
    test::TempFolder folder;
    const std::string path = folder.WriteFile("Tralvo.ini", OldText);
    FailingSteps steps;
    steps.failRename = true;
    EXPECT_FALSE(WriteFileAtomically(path, "new", steps).ok());
    EXPECT_EQ(test::ReadFile(path), OldText);
    EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"Tralvo.ini"});
}

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissionsAndALinkStaysALink) {
    test::TempFolder folder;
    const std::string path = folder.WriteFile("Tralvo.ini", OldText);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new text\r\n").ok());
    EXPECT_EQ(test::ReadFile(path), "new text\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const std::string link = folder / "link.ini";
    std::filesystem::create_symlink(path, link);
    ASSERT_TRUE(WriteFileAtomically(link, "through the link").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadFile(path), "through the link");
}

TEST(AtomicFile, AFolderThatCannotBeWrittenIsReportedByName) {
    const Status status = WriteFileAtomically("/proc/no-such-folder/Tralvo.ini", "x");
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("/proc/no-such-folder/Tralvo.ini"), std::string::npos);
}

} // namespace
} // namespace tralvo
