#pragma once

#include "arrange_test_support.h"
#include "platform/clock.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tralvo::test {

// A clock that moves only when a run waits for it, at once.
struct FakeClock : Clock {
    FileTime now = 134'000'000'000'000'000ULL; // in 2025
    std::vector<FileTime> sleeps;
    FileTime Now() override { return now; }
    void SleepUntil(FileTime moment) override {
        sleeps.push_back(moment);
        now = std::max(now, moment);
    }
};

// A FAT volume seen through the test's clock: a copy is stamped with the clock's time as it
// is made (or earlier, as a coarse clock may), a rename keeps the time.
class StampingFat : public test::TimedFileSystem {
public:
    explicit StampingFat(FakeClock& clock) : clock_(clock) {}
    int copies = 0;
    FileTime earlyStamps = 0; // the next copy is stamped this much before the clock
    std::uint64_t freeBytes = std::uint64_t{1} << 30;

    bool SetsCreationTimes() override { return false; }
    std::string VolumeOf(const std::string&) override { return "/media/PLAYER"; }
    std::vector<Volume> Volumes() override { return {{"/media/PLAYER", "vfat", "/dev/sdb1"}}; }
    Status CopyFile(const std::string& from, const std::string& to) override {
        Status status = ForwardingFileSystem::CopyFile(from, to);
        if (status) {
            ++copies;
            times[to] = clock_.now - std::exchange(earlyStamps, 0);
        }
        return status;
    }
    Status Rename(const std::string& from, const std::string& to) override {
        Status status = ForwardingFileSystem::Rename(from, to);
        if (status) {
            times[to] = times[from];
            times.erase(from);
        }
        return status;
    }
    Status RemoveFile(const std::string& path) override {
        times.erase(path);
        return ForwardingFileSystem::RemoveFile(path);
    }
    Status FreeSpace(const std::string&, std::uint64_t& bytes, std::uint64_t& unit) override {
        bytes = freeBytes;
        unit = 32 * 1024;
        return Status::Ok();
    }

private:
    FakeClock& clock_;
};

} // namespace tralvo::test
