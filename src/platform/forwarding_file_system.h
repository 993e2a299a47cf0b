#pragma once

#include "platform/file_system.h"

namespace tralvo {

// Hands every call on to another file system, so that a wrapper overrides only the calls it
// watches or changes (the run journal watching a run's changes; tests failing the k-th rename).
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner = SystemFileSystem()) : inner_(inner) {}

    Status Enumerate(const std::string& folder, EnumerateFilter filter, bool includeDotEntries,
                     std::vector<DirectoryEntry>& entries) override {
        return inner_.Enumerate(folder, filter, includeDotEntries, entries);
    }
    Status Rename(const std::string& from, const std::string& to) override {
        return inner_.Rename(from, to);
    }
    Status CreateFolder(const std::string& path) override { return inner_.CreateFolder(path); }
    Status RemoveFolder(const std::string& path) override { return inner_.RemoveFolder(path); }
    bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
    bool FolderExists(const std::string& path) override { return inner_.FolderExists(path); }
    bool EntryExists(const std::string& path) override { return inner_.EntryExists(path); }
    bool FoldsCase(const std::string& folder) override { return inner_.FoldsCase(folder); }
    std::string ShortPath(const std::string& path) override { return inner_.ShortPath(path); }
    Status ReadCreationTime(const std::string& path, FileTime& time) override {
        return inner_.ReadCreationTime(path, time);
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        return inner_.WriteCreationTime(path, time);
    }
    bool SetsCreationTimes() override { return inner_.SetsCreationTimes(); }
    Status CopyFile(const std::string& from, const std::string& to) override {
        return inner_.CopyFile(from, to);
    }
    Status RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
    Status Flush(const std::string& folder) override { return inner_.Flush(folder); }
    Status OpenForReading(const std::string& path, UniqueFd& fd) override {
        return inner_.OpenForReading(path, fd);
    }
    Status ReadFileSize(const std::string& path, std::uint64_t& size) override {
        return inner_.ReadFileSize(path, size);
    }
    Status ReadContentId(const std::string& path, ContentId& id) override {
        return inner_.ReadContentId(path, id);
    }
    Status FreeSpace(const std::string& path, std::uint64_t& bytes, std::uint64_t& unit) override {
        return inner_.FreeSpace(path, bytes, unit);
    }
    std::string ProgramPath() override { return inner_.ProgramPath(); }
    std::string CurrentFolder() override { return inner_.CurrentFolder(); }
    std::string VolumeOf(const std::string& path) override { return inner_.VolumeOf(path); }
    std::vector<Volume> Volumes() override { return inner_.Volumes(); }

private:
    FileSystem& inner_;
};

} // namespace tralvo
