#pragma once

#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange/track_loading.h"
#include "arrange_test_support.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tralvo::test {

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
    Status CopyFile(const std::string& from, const std::string& to) override {
        return Change([&] { return ForwardingFileSystem::CopyFile(from, to); });
    }
    Status RemoveFile(const std::string& path) override {
        return Change([&] { return ForwardingFileSystem::RemoveFile(path); });
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

// The tracks loaded from folder, put in the order of displays (equal ones in load order).
inline TrackList Arranged(const std::string& folder, PlayerType type,
                          const std::vector<std::string>& displays, FileSystem& fs) {
    TrackList tracks = LoadTracks(folder, {type}, fs);
    std::vector<std::size_t> order;
    for (const std::string& display : displays) {
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            if (tracks[i].display == display &&
                std::find(order.begin(), order.end(), i) == order.end()) {
                order.push_back(i);
                break;
            }
        }
    }
    tracks.Reorder(order);
    return tracks;
}

// A folder of tagged tracks that journaled runs arrange, with journals of the test's own.
class JournaledFolderTest : public testing::Test {
protected:
    // Each track tagged with its name as title, its body telling it apart by content.
    void Tracks(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            folder.WriteFile(name, TaggedMp3({.title = name}, ++written));
        }
    }
    TrackList Arranged(PlayerType type, const std::vector<std::string>& displays,
                       FileSystem& fs = SystemFileSystem()) {
        return test::Arranged(folder.path(), type, displays, fs);
    }
    std::string F() const { return folder.path() + "/"; }

    TempFolder folder;
    TestJournals journals;
    RecordedFailures failures;
    RecordedProgress progress;
    std::size_t written = 0;
};

} // namespace tralvo::test
