// The file system of the test build of tralvo-cli: the real one, and when
// TRALVO_TEST_KILL_AFTER holds a number k, the process kills itself with SIGKILL right after
// the k-th change it made (a rename, a folder made or removed, a creation time written, a
// file copied or removed), as a
// pulled cable or a dead battery would stop it. Only this build reads the variable.
#include "app/cli/cli_file_system.h"
#include "support/forwarding_file_system.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace tralvo::cli {

namespace {

class KillSwitchFileSystem : public test::ForwardingFileSystem {
public:
    KillSwitchFileSystem() {
        const char* value = std::getenv("TRALVO_TEST_KILL_AFTER");
        killAfter_ = value != nullptr ? std::atol(value) : 0;
    }

    Status Rename(const std::string& from, const std::string& to) override {
        return Counted(ForwardingFileSystem::Rename(from, to));
    }
    Status CreateFolder(const std::string& path) override {
        return Counted(ForwardingFileSystem::CreateFolder(path));
    }
    Status RemoveFolder(const std::string& path) override {
        return Counted(ForwardingFileSystem::RemoveFolder(path));
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        return Counted(ForwardingFileSystem::WriteCreationTime(path, time));
    }
    Status CopyFile(const std::string& from, const std::string& to) override {
        return Counted(ForwardingFileSystem::CopyFile(from, to));
    }
    Status RemoveFile(const std::string& path) override {
        return Counted(ForwardingFileSystem::RemoveFile(path));
    }

private:
    Status Counted(Status status) {
        if (killAfter_ > 0 && ++changes_ == killAfter_) {
            ::kill(::getpid(), SIGKILL);
        }
        return status;
    }

    long killAfter_ = 0;
    long changes_ = 0;
};

} // namespace

FileSystem& ToolFileSystem() {
    static KillSwitchFileSystem fs;
    return fs;
}

} // namespace tralvo::cli
