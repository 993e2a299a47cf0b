#pragma once

#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange_test_support.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace tralvo::test {

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

// Where a run stopped, the world stands still: after the k-th change every further change
// fails and changes nothing, and so does every write of the journal. What is left is what a
// process killed right after its k-th change leaves behind.
struct Stop {
    int after = 0;
    int changes = 0;
    bool reached() const { return after > 0 && changes >= after; }
};

class StoppingFileSystem : public ForwardingFileSystem {
public:
    StoppingFileSystem(Stop& stop, FileSystem& inner) : ForwardingFileSystem(inner), stop_(stop) {}

    Status Rename(const std::string& from, const std::string& to) override {
        return Change([&] { return ForwardingFileSystem::Rename(from, to); });
    }
    Status CreateFolder(const std::string& path) override {
        return Change([&] { return ForwardingFileSystem::CreateFolder(path); });
    }
    Status RemoveFolder(const std::string& path) override {
        return Change([&] { return ForwardingFileSystem::RemoveFolder(path); });
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        return Change([&] { return ForwardingFileSystem::WriteCreationTime(path, time); });
    }

private:
    template <typename Call>
    Status Change(Call call) {
        if (stop_.reached()) {
            return Status::Failure(EIO, "stopped");
        }
        ++stop_.changes;
        return call();
    }
    Stop& stop_;
};

class StoppingJournals : public JournalStore {
public:
    StoppingJournals(Stop& stop, JournalStore& inner) : stop_(stop), inner_(inner) {}
    std::string PathOf(const std::string& folder) override { return inner_.PathOf(folder); }
    Status Write(const std::string& folder, const std::string& text) override {
        return stop_.reached() ? Status::Failure(EIO, "stopped") : inner_.Write(folder, text);
    }
    Status Read(const std::string& folder, std::string& text) override {
        return inner_.Read(folder, text);
    }
    Status Remove(const std::string& folder) override {
        return stop_.reached() ? Status::Failure(EIO, "stopped") : inner_.Remove(folder);
    }

private:
    Stop& stop_;
    JournalStore& inner_;
};

// The journal kept for folder (ending in '/'), if there is a readable one.
inline std::optional<RunJournal> JournalOf(JournalStore& journals, const std::string& folder) {
    std::string text;
    if (!journals.Read(folder, text)) {
        return std::nullopt;
    }
    return ParseJournal(text);
}

// Journals in a folder of the test's own.
struct TestJournals {
    TempFolder state;
    StateFolderJournals store{state / "tralvo"};
};

} // namespace tralvo::test
