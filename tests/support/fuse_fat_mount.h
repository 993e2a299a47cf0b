#pragma once

#include "support/run_process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tralvo::test {

// fusefat serving a FAT image file at a folder for as long as it lives, for tests that need
// the image made their own way (a chosen serial number, a type other than FAT32) or mounted
// at several folders in turn. Check FuseUnavailable() (support/fat_image.h) first.
class FuseFatMount {
public:
    // Waits until the folder shows the image; mounted() tells whether it came. Relative
    // paths are taken from workingFolder, where fusefat runs.
    FuseFatMount(const std::string& image, const std::string& mountPoint, bool writable = true,
                 const std::string& workingFolder = "")
        : mountPoint_(mountPoint.front() == '/' ? mountPoint : workingFolder + "/" + mountPoint) {
        std::vector<std::string> words{"/usr/bin/fusefat", "-f"};
        if (writable) {
            words.insert(words.end(), {"-o", "rw+"});
        }
        words.insert(words.end(), {image, mountPoint});
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const dev_t below = DeviceOf(mountPoint_); // before fusefat can have covered it
        // In the foreground it prints a line for every operation.
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        if (!workingFolder.empty()) {
            posix_spawn_file_actions_addchdir_np(&quiet, workingFolder.c_str());
        }
        const int spawned =
            ::posix_spawn(&server_, argv.front(), &quiet, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (spawned != 0) {
            server_ = -1;
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!mounted_ && std::chrono::steady_clock::now() < deadline) {
            mounted_ = DeviceOf(mountPoint_) != below;
            if (!mounted_ && ::waitpid(server_, nullptr, WNOHANG) == server_) {
                server_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!mounted_) {
            ::kill(server_, SIGKILL);
            ::waitpid(server_, nullptr, 0);
            server_ = -1;
        }
    }
    ~FuseFatMount() { Unmount(); }
    FuseFatMount(const FuseFatMount&) = delete;
    FuseFatMount& operator=(const FuseFatMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& mountPoint() const { return mountPoint_; }

    // Ends the mount and waits for fusefat to have written the image; false when it had to
    // be stopped.
    bool Unmount() {
        bool clean = true;
        if (mounted_) {
            bool unmounted = false;
            for (int attempt = 0; attempt < 50 && !unmounted; ++attempt) {
                unmounted = RunProcess("/usr/bin/fusermount", {"-u", mountPoint_}).exitCode == 0;
                if (!unmounted) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
            if (!unmounted) {
                RunProcess("/usr/bin/fusermount", {"-u", "-z", mountPoint_});
                clean = false;
            }
            mounted_ = false;
        }
        if (server_ > 0) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (::waitpid(server_, nullptr, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > deadline) {
                    ::kill(server_, SIGKILL);
                    ::waitpid(server_, nullptr, 0);
                    clean = false;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            server_ = -1;
        }
        return clean;
    }

private:
    static dev_t DeviceOf(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_dev : 0;
    }

    std::string mountPoint_;
    pid_t server_ = -1;
    bool mounted_ = false;
};

} // namespace tralvo::test
