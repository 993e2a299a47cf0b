#pragma once

#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tralvo::test {

// A computer made up by the test: the process's paths, the volumes that hold paths, the
// mounted volumes and the folders that exist. Files cannot be touched: any call that would
// read or change one fails the test, so code that should only ask about drives is held to it.
class FakeFileSystem : public FileSystem {
public:
    std::string currentFolder = "/home/user";
    std::string programPath = "/opt/tralvo/tralvo";
    std::map<std::string, std::string> volumeOf; // path to mount point; others are unknown
    std::vector<Volume> volumes;
    std::set<std::string> folders;

    std::string CurrentFolder() override { return currentFolder; }
    std::string ProgramPath() override { return programPath; }
    std::string VolumeOf(const std::string& path) override {
        const auto found = volumeOf.find(path);
        return found == volumeOf.end() ? std::string() : found->second;
    }
    std::vector<Volume> Volumes() override { return volumes; }
    bool FolderExists(const std::string& path) override { return folders.contains(path); }

    Status Enumerate(const std::string&, EnumerateFilter, bool,
                     std::vector<DirectoryEntry>&) override {
        return Unexpected("Enumerate");
    }
    Status Rename(const std::string&, const std::string&) override { return Unexpected("Rename"); }
    Status CreateFolder(const std::string&) override { return Unexpected("CreateFolder"); }
    Status RemoveFolder(const std::string&) override { return Unexpected("RemoveFolder"); }
    bool FileExists(const std::string&) override {
        Unexpected("FileExists");
        return false;
    }
    std::string ShortPath(const std::string&) override {
        Unexpected("ShortPath");
        return {};
    }
    Status ReadCreationTime(const std::string&, FileTime&) override {
        return Unexpected("ReadCreationTime");
    }
    Status WriteCreationTime(const std::string&, FileTime) override {
        return Unexpected("WriteCreationTime");
    }

    bool SetsCreationTimes() override {
        Unexpected("SetsCreationTimes");
        return false;
    }
    Status CopyFile(const std::string&, const std::string&) override {
        return Unexpected("CopyFile");
    }
    Status RemoveFile(const std::string&) override { return Unexpected("RemoveFile"); }
    Status Flush(const std::string&) override { return Unexpected("Flush"); }
    Status ReadFileSize(const std::string&, std::uint64_t&) override {
        return Unexpected("ReadFileSize");
    }
    Status OpenForReading(const std::string&, UniqueFd&) override {
        return Unexpected("OpenForReading");
    }
    Status ReadContentId(const std::string&, ContentId&) override {
        return Unexpected("ReadContentId");
    }
    bool EntryExists(const std::string& path) override { return folders.contains(path); }
    bool FoldsCase(const std::string&) override { return false; }
    Status FreeSpace(const std::string&, std::uint64_t&, std::uint64_t&) override {
        return Unexpected("FreeSpace");
    }

private:
    static Status Unexpected(const char* call) {
        ADD_FAILURE() << "unexpected call of FileSystem::" << call;
        return Status::Failure(-1, std::string(call) + ": not in this test");
    }
};

} // namespace tralvo::test
