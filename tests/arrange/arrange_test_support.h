#pragma once

#include "arrange/strategies.h"
#include "fat_slots_file_system.h"
#include "media/writers/id3v2_writer.h"
#include "support/forwarding_file_system.h"
#include "support/recorded_failures.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tralvo::test {

// An MP3 file with an ID3v1 tag, or without any tag; the body tells files apart by content.
inline std::string TaggedMp3(const Id3v1Fields& fields, std::size_t frames = 1) {
    return AsString(Mp3File({}, frames, fields));
}
inline std::string UntaggedMp3(std::size_t frames = 1) {
    return AsString(Mp3File({}, frames));
}

// Every file below folder, by its path relative to it, with its content.
inline std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), folder).string()] =
                ReadFile(entry.path().string());
        }
    }
    return files;
}

// What differs between two sets of files, by path: the contents are too long to print.
inline std::vector<std::string> Differences(const std::map<std::string, std::string>& expected,
                                            const std::map<std::string, std::string>& actual) {
    std::vector<std::string> differences;
    for (const auto& [path, content] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            differences.push_back("missing " + path);
        } else if (found->second != content) {
            differences.push_back("changed " + path);
        }
    }
    for (const auto& [path, content] : actual) {
        if (!expected.contains(path)) {
            differences.push_back("unexpected " + path);
        }
    }
    return differences;
}

// The contents of a set of files, whatever their names.
inline std::multiset<std::string> Contents(const std::map<std::string, std::string>& files) {
    std::multiset<std::string> contents;
    for (const auto& [path, content] : files) {
        contents.insert(content);
    }
    return contents;
}

// A file system that can set creation times (this system cannot): kept by path, for files
// that exist and may be opened for writing.
class TimedFileSystem : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::map<std::string, FileTime> times;

    bool SetsCreationTimes() override { return true; }

    Status ReadCreationTime(const std::string& path, FileTime& time) override {
        const auto found = times.find(path);
        if (found == times.end()) {
            return Status::Failure(ENODATA, "no time for " + path);
        }
        time = found->second;
        return Status::Ok();
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        // By the mode bits, so that a read-only file is one also for root, who runs CI.
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || (info.st_mode & S_IWUSR) == 0) {
            return Status::Failure(EACCES, "cannot open " + path + " for writing");
        }
        times[path] = time;
        return Status::Ok();
    }
};

// Fails the k-th change it is asked for (renames, folders made and removed, times set, files
// copied and removed), and counts them all.
class FailingFileSystem : public ForwardingFileSystem {
public:
    explicit FailingFileSystem(int failAt, FileSystem& inner = SystemFileSystem())
        : ForwardingFileSystem(inner), failAt_(failAt) {}

    int changes = 0;

    Status Rename(const std::string& from, const std::string& to) override {
        return Fails() ? Injected() : ForwardingFileSystem::Rename(from, to);
    }
    Status CreateFolder(const std::string& path) override {
        return Fails() ? Injected() : ForwardingFileSystem::CreateFolder(path);
    }
    Status RemoveFolder(const std::string& path) override {
        return Fails() ? Injected() : ForwardingFileSystem::RemoveFolder(path);
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        return Fails() ? Injected() : ForwardingFileSystem::WriteCreationTime(path, time);
    }
    Status CopyFile(const std::string& from, const std::string& to) override {
        return Fails() ? Injected() : ForwardingFileSystem::CopyFile(from, to);
    }
    Status RemoveFile(const std::string& path) override {
        return Fails() ? Injected() : ForwardingFileSystem::RemoveFile(path);
    }

private:
    bool Fails() { return ++changes == failAt_; }
    static Status Injected() { return Status::Failure(EIO, "injected failure"); }
    int failAt_;
};

// What a run showed on its progress bar.
struct RecordedProgress : RunProgress {
    int maximum = -1;
    std::vector<int> positions;
    void SetMaximum(int value) override { maximum = value; }
    void SetPosition(int value) override { positions.push_back(value); }
};

} // namespace tralvo::test
