#include "support/fat_image.h"

#include <cctype>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tralvo::test {

namespace {

// Where Debian's fuse3, fusefat, dosfstools, fatsort and mtools put their programs.
constexpr const char* FuseDevice = "/dev/fuse";
constexpr const char* Fusefat = "/usr/bin/fusefat";
constexpr const char* Fusermount = "/usr/bin/fusermount";
constexpr const char* MkfsVfat = "/usr/sbin/mkfs.vfat";
constexpr const char* FsckVfat = "/usr/sbin/fsck.vfat";
constexpr const char* Fatsort = "/usr/bin/fatsort";
constexpr const char* Mcopy = "/usr/bin/mcopy";
constexpr const char* Mmd = "/usr/bin/mmd";
constexpr const char* Mdel = "/usr/bin/mdel";

constexpr auto PollStep = std::chrono::milliseconds(10);

dev_t DeviceOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_dev : 0;
}

bool MakeSparseFile(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool sized = ::ftruncate(fd, size) == 0;
    return ::close(fd) == 0 && sized;
}

// Waits up to limit for the child to end; true when it did.
bool Reaped(pid_t child, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        const pid_t done = ::waitpid(child, nullptr, WNOHANG);
        if (done == child || done < 0) {
            return true;
        }
        std::this_thread::sleep_for(PollStep);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void Stop(pid_t child) {
    if (!Reaped(child, std::chrono::milliseconds(0))) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
}

// The image's name for path, relative to its root, as mtools takes it.
std::string OnImage(std::string path) {
    while (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    return "::/" + path;
}

// The characters mtools keeps as they are in a short name.
bool IsShortNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("$%'-_@~`!(){}^#&").find(c) != std::string_view::npos;
}

// mtools stores a name that fits 8.3 with each part in one case as a short name alone, its
// lower case as a flag; a part in mixed case, or anything that does not fit, takes a long entry.
bool StoredAsLowerCaseShortName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) {
        return false;
    }
    bool lower = false;
    for (const std::string_view part : {base, extension}) {
        bool partLower = false;
        bool partUpper = false;
        for (const char c : part) {
            if (!IsShortNameCharacter(c)) {
                return false;
            }
            partLower = partLower || std::islower(static_cast<unsigned char>(c)) != 0;
            partUpper = partUpper || std::isupper(static_cast<unsigned char>(c)) != 0;
        }
        if (partLower && partUpper) {
            return false;
        }
        lower = lower || partLower;
    }
    return lower;
}

} // namespace

std::string FuseUnavailable() {
    for (const char* needed : {FuseDevice, Fusefat, Fusermount}) {
        if (::access(needed, F_OK) != 0) {
            return std::string("no ") + needed + ": FAT images cannot be mounted in user space";
        }
    }
    return {};
}

FatImage::FatImage(const TempFolder& temp, int megabytes)
    : image_(temp / "player.img"), mountPoint_(temp.MakeFolder("mnt")), parent_(temp.path()) {
    if (!MakeSparseFile(image_, static_cast<off_t>(megabytes) << 20)) {
        ADD_FAILURE() << "cannot make the image " << image_;
        return;
    }
    const ProcessResult mkfs = RunProcess(MkfsVfat, {"-F", "32", "-n", "PLAYER", image_});
    EXPECT_EQ(mkfs.exitCode, 0) << mkfs.out << mkfs.err;
    made_ = mkfs.exitCode == 0;
}

FatImage::~FatImage() {
    Unmount();
}

bool FatImage::Mount() {
    if (mounted_ || !made_) {
        return mounted_;
    }
    std::vector<std::string> words{Fusefat, "-f", "-o", "rw+", image_, mountPoint_};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet; // in the foreground it prints a line for every operation
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawn(&fusefat_, Fusefat, &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        fusefat_ = -1;
        return false;
    }
    // Without a mount, writes would land in the empty folder underneath: wait until the
    // folder belongs to another device.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!mounted_ && std::chrono::steady_clock::now() < deadline) {
        mounted_ = DeviceOf(mountPoint_) != DeviceOf(parent_);
        if (!mounted_ && Reaped(fusefat_, PollStep)) {
            fusefat_ = -1;
            return false;
        }
    }
    if (!mounted_) {
        Stop(fusefat_);
        fusefat_ = -1;
    }
    return mounted_;
}

void FatImage::MoveMountPoint() {
    if (!Unmounted("move the mount point")) {
        return;
    }
    mountPoint_ = parent_ + "/mnt" + std::to_string(++moves_);
    std::error_code error;
    std::filesystem::create_directory(mountPoint_, error);
    EXPECT_FALSE(error) << mountPoint_;
}

bool FatImage::Unmount() {
    bool clean = true;
    if (mounted_) {
        // A file still open somewhere keeps the mount busy for a moment.
        bool unmounted = false;
        for (int attempt = 0; attempt < 50 && !unmounted; ++attempt) {
            unmounted = RunProcess(Fusermount, {"-u", mountPoint_}).exitCode == 0;
            if (!unmounted) {
                std::this_thread::sleep_for(PollStep);
            }
        }
        if (!unmounted) {
            RunProcess(Fusermount, {"-u", "-z", mountPoint_});
            clean = false;
        }
        mounted_ = false;
    }
    if (fusefat_ > 0) {
        if (!Reaped(fusefat_, std::chrono::seconds(60))) {
            Stop(fusefat_);
            clean = false;
        }
        fusefat_ = -1;
    }
    return clean;
}

std::string FatImage::operator/(std::string_view name) const {
    return mountPoint_ + "/" + std::string(name);
}

bool FatImage::Unmounted(std::string_view change) const {
    if (mounted_) {
        ADD_FAILURE() << change << " while fusefat serves " << image_ << ": unmount first";
    }
    return !mounted_;
}

bool FatImage::MakeFolder(const std::string& folder) const {
    if (!Unmounted("making " + folder)) {
        return false;
    }
    const ProcessResult made = RunProcess(Mmd, {"-i", image_, OnImage(folder)});
    EXPECT_EQ(made.exitCode, 0) << folder << ": " << made.out << made.err;
    return made.exitCode == 0;
}

bool FatImage::Write(const std::string& folder, const NamedContents& files) const {
    if (!Unmounted("writing into /" + folder)) {
        return false;
    }
    // mcopy names each file after its source and writes them in the order given.
    const TempFolder staging;
    std::vector<std::string> args{"-i", image_};
    for (const auto& [name, content] : files) {
        if (StoredAsLowerCaseShortName(name)) {
            ADD_FAILURE() << name << ": mtools would store it as a short name with a case flag, "
                          << "which fusefat shows in capitals";
            return false;
        }
        args.push_back(staging.WriteFile(name, content));
    }
    args.push_back(OnImage(folder) + (folder.empty() ? "" : "/"));
    const ProcessResult copied = RunProcess(Mcopy, args);
    EXPECT_EQ(copied.exitCode, 0) << "/" << folder << ": " << copied.out << copied.err;
    return copied.exitCode == 0;
}

bool FatImage::Remove(const std::string& path) const {
    if (!Unmounted("removing " + path)) {
        return false;
    }
    const ProcessResult removed = RunProcess(Mdel, {"-i", image_, OnImage(path)});
    EXPECT_EQ(removed.exitCode, 0) << path << ": " << removed.out << removed.err;
    return removed.exitCode == 0;
}

EntryOrders FatImage::EntryOrder() const {
    const ProcessResult listed = RunProcess(Fatsort, {"-l", image_});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    // "File system: FAT32.", then each folder: its path, its names, an empty line.
    EntryOrders orders;
    std::istringstream lines(listed.out);
    std::vector<std::string>* folder = nullptr;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            folder = nullptr;
        } else if (folder == nullptr && line.front() == '/') {
            folder = &orders[line];
        } else if (folder != nullptr) {
            folder->push_back(line);
        }
    }
    return orders;
}

ProcessResult FatImage::Check() const {
    return RunProcess(FsckVfat, {"-n", image_});
}

ProcessResult FatImage::CopyOut(const std::string& folder) const {
    return RunProcess(Mcopy, {"-s", "-n", "-i", image_, "::/", folder + "/"});
}

} // namespace tralvo::test
