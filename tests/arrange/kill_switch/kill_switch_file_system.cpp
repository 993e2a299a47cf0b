// The file system of the test build of tralvo-cli: the real one, and when
// TRALVO_TEST_KILL_AFTER holds a number k, the process kills itself with SIGKILL right after
// the k-th change it made (a rename, a folder made or removed, a creation time written, a
// file copied or removed), as a
// pulled cable or a dead battery would stop it. TRALVO_TEST_SIGNAL_AFTER holds one or two
// numbers ("5" or "5,9"): after each of those changes the process sends itself SIGTERM, as a
// logout or a user's kill would. Only this build reads the variables.
#include "cli/cli_file_system.h"
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
        if (const char* signals = std::getenv("TRALVO_TEST_SIGNAL_AFTER")) {
            char* end = nullptr;
            signalAfter_[0] = std::strtol(signals, &end, 10);
            signalAfter_[1] = *end == ',' ? std::atol(end + 1) : 0;
        }
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
        ++changes_;
        if (killAfter_ > 0 && changes_ == killAfter_) {
            ::kill(::getpid(), SIGKILL);
        }
        for (const long at : signalAfter_) {
            if (at > 0 && changes_ == at) {
                ::kill(::getpid(), SIGTERM);
            }
        }
        return status;
    }

    long killAfter_ = 0;
    long signalAfter_[2] = {0, 0};
    long changes_ = 0;
};

} // namespace

FileSystem& ToolFileSystem() {
    static KillSwitchFileSystem fs;
    return fs;
}

} // namespace tralvo::cli
