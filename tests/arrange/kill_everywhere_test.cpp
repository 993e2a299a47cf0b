// tralvo-cli arrange killed with SIGKILL right after its k-th change, then tralvo-cli recover
// killed right after its j-th change, then a recover left to finish: wherever the two runs
// died, every name of the folder must hold what it held before the arrange (a symlink as a
// symlink to the same target), no entry may be lost or left under a temporary name, and no
// journal may stay behind. The folders hold what trips a recovery up: names a file-name player
// shows alike, names of the form a file-name run gives, a symlink to a track elsewhere, and
// entries that are no tracks. Every pair would take thousands of runs, so beyond a few changes
// the points are spread over every phase of both runs, their ends included.
#include "arrange_test_support.h"
#include "support/private_state_folder.h"
#include "support/run_process.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;

// The journals of this test's runs, in a state folder of its own while the test lasts; the
// variable is put back after, since other tests of the program keep theirs elsewhere.
class OwnStateFolder {
public:
    OwnStateFolder() = default;
    ~OwnStateFolder() {
        if (previous_) {
            ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
    }
    OwnStateFolder(const OwnStateFolder&) = delete;
    OwnStateFolder& operator=(const OwnStateFolder&) = delete;

    std::string journals() const { return state_.journals(); }

private:
    static std::optional<std::string> Current() {
        const char* value = std::getenv("XDG_STATE_HOME");
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    // Read before state_ points the variable at its own folder.
    std::optional<std::string> previous_ = Current();
    test::PrivateStateFolder state_;
};

// The tool, killed after its killAfter-th change when that is above 0.
test::ProcessResult Tool(const Names& args, int killAfter = 0) {
    if (killAfter > 0) {
        ::setenv("TRALVO_TEST_KILL_AFTER", std::to_string(killAfter).c_str(), 1);
    }
    test::ProcessResult result = test::RunProcess(TRALVO_KILLABLE_CLI_PATH, args);
    ::unsetenv("TRALVO_TEST_KILL_AFTER");
    return result;
}

constexpr int Killed = -1; // the exit code RunProcess gives a process that did not exit

// One entry as a player would find it: a file by its bytes, a symlink by its target (never
// followed), a folder.
struct Entry {
    enum class Kind { File, Symlink, Folder, Other } kind = Kind::Other;
    std::string data;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

Snapshot EntriesBelow(const std::string& folder) {
    Snapshot entries;
    std::error_code error;
    for (auto it = stdfs::recursive_directory_iterator(folder, error);
         !error && it != stdfs::recursive_directory_iterator(); it.increment(error)) {
        const stdfs::file_status status = it->symlink_status();
        // Lexically: relative() would resolve the symlink.
        const std::string name = it->path().lexically_relative(folder).string();
        if (stdfs::is_symlink(status)) {
            entries[name] = {Entry::Kind::Symlink, stdfs::read_symlink(it->path()).string()};
        } else if (stdfs::is_directory(status)) {
            entries[name] = {Entry::Kind::Folder, {}};
        } else if (stdfs::is_regular_file(status)) {
            entries[name] = {Entry::Kind::File, test::ReadFile(it->path().string())};
        } else {
            entries[name] = {Entry::Kind::Other, {}};
        }
    }
    EXPECT_FALSE(error) << folder << ": " << error.message();
    return entries;
}

// "QZ_TEMP1", "QZ_TEMP2", "N.qz_temp" and "N.qz_copy", in any case.
bool IsLeftOver(const std::string& path) {
    std::string name = stdfs::path(path).filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "qz_temp1" || name == "qz_temp2") {
        return true;
    }
    for (const std::string_view suffix : {".qz_temp", ".qz_copy"}) {
        if (name.size() > suffix.size() && name.ends_with(suffix) &&
            std::all_of(name.begin(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                        [](unsigned char c) { return std::isdigit(c) != 0; })) {
            return true;
        }
    }
    return false;
}

Names JournalFiles(const std::string& folder) {
    Names names;
    std::error_code error;
    for (auto it = stdfs::directory_iterator(folder, error);
         !error && it != stdfs::directory_iterator(); it.increment(error)) {
        if (const std::string name = it->path().filename().string(); name.ends_with(".journal")) {
            names.push_back(name);
        }
    }
    return names;
}

Names Lines(const std::string& text) {
    Names lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The display strings of a list the tool printed, and the file names they stand for.
struct Listed {
    std::string display;
    std::string name;
};

std::vector<Listed> ListedTracks(const std::string& out) {
    std::vector<Listed> tracks;
    for (const std::string& line : Lines(out)) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        const std::string path = line.substr(second + 1);
        tracks.push_back(
            {line.substr(first + 1, second - first - 1), path.substr(path.find_last_of('/') + 1)});
    }
    return tracks;
}

// Entries as a difference names them: whose bytes a file holds rather than the bytes.
class Describer {
public:
    void Owns(const std::string& bytes, const std::string& owner) {
        owners_.emplace(bytes, "the bytes of " + owner);
    }
    std::string operator()(const std::optional<Entry>& entry) const {
        if (!entry) {
            return "nothing";
        }
        switch (entry->kind) {
        case Entry::Kind::Symlink:
            return "a symlink to " + entry->data;
        case Entry::Kind::Folder:
            return "a folder";
        case Entry::Kind::File: {
            const auto found = owners_.find(entry->data);
            return found != owners_.end() ? found->second
                                          : std::to_string(entry->data.size()) + " other bytes";
        }
        case Entry::Kind::Other:
            break;
        }
        return "an entry of another kind";
    }

private:
    std::map<std::string, std::string> owners_;
};

Names Differences(const Snapshot& expected, const Snapshot& actual, const Describer& describe) {
    std::set<std::string> names;
    for (const Snapshot* snapshot : {&expected, &actual}) {
        for (const auto& [name, entry] : *snapshot) {
            names.insert(name);
        }
    }
    Names differences;
    for (const std::string& name : names) {
        const auto want = expected.find(name);
        const auto got = actual.find(name);
        const std::optional<Entry> wanted =
            want != expected.end() ? std::optional(want->second) : std::nullopt;
        const std::optional<Entry> found =
            got != actual.end() ? std::optional(got->second) : std::nullopt;
        if (wanted != found) {
            differences.push_back(name + ": expected " + describe(wanted) + ", got " +
                                  describe(found));
        }
    }
    return differences;
}

std::string Joined(const Names& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text;
}

// The number of changes a run makes to its end: the last n after which the kill switch still
// stops it, killedAfter(n) running it anew each time. From a guess, which costs two runs when
// right.
template <typename KilledAfter>
int CountChanges(KilledAfter killedAfter, int guess) {
    int low = 0;  // stopped after low changes, or 0
    int high = 0; // not stopped after high changes
    guess = std::max(guess, 1);
    if (killedAfter(guess)) {
        low = guess;
        for (int step = 1;; step *= 2) {
            if (!killedAfter(low + step)) {
                high = low + step;
                break;
            }
            low += step;
        }
    } else {
        high = guess;
        for (int step = 1; high - step > 0; step *= 2) {
            if (killedAfter(high - step)) {
                low = high - step;
                break;
            }
            high -= step;
        }
    }
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        (killedAfter(middle) ? low : high) = middle;
    }
    return low;
}

// Points of 1..count: all of them when there are few, else the edges given and points spread
// evenly between them.
std::vector<int> Spread(int count, std::size_t evenly, const std::set<int>& edges) {
    std::set<int> points;
    if (count <= static_cast<int>(evenly)) {
        for (int k = 1; k <= count; ++k) {
            points.insert(k);
        }
    } else {
        for (std::size_t i = 0; i < evenly; ++i) {
            points.insert(1 +
                          static_cast<int>(i * static_cast<std::size_t>(count - 1) / (evenly - 1)));
        }
        points.insert(count - 1);
        for (const int edge : edges) {
            if (edge >= 1 && edge <= count) {
                points.insert(edge);
            }
        }
    }
    return {points.begin(), points.end()};
}

// Where the recover is killed after an arrange: not at all (0), every point when there are few,
// else its start, end and quarters.
std::vector<int> RecoverPoints(int count) {
    std::set<int> points = {0};
    if (count <= 6) {
        for (int j = 1; j <= count; ++j) {
            points.insert(j);
        }
    } else {
        points.insert({1, count / 4, count / 2, 3 * count / 4, count - 1, count});
    }
    return {points.begin(), points.end()};
}

constexpr std::size_t ListedFailures = 10;

class KillEverywhere : public testing::Test {
protected:
    struct Track {
        std::string name;
        bool symlink = false;
    };

    // Plain names, names a file-name player shows alike ("{1}s.mp3" and "{2}s.mp3" both as
    // "s.mp3"), and names a file-name run gives: reversed, each "{NN}d.mp3" takes the name the
    // one before it had. The symlink, where the disk takes one, stands in the middle, away
    // from the ends a creation-time run starts from.
    void Lay(std::size_t plain, std::size_t given, std::size_t alike, std::size_t chain) {
        test::WriteWholeFile(outside_, test::TaggedMp3({.title = "outside"}, 2));
        std::error_code noSymlinks;
        stdfs::create_symlink(outside_, work_ / "probe", noSymlinks);
        for (std::size_t i = 0; i < plain; ++i) {
            tracks_.push_back({"Song " + std::string(1, static_cast<char>('A' + i)) + ".mp3"});
            if (i + 1 == plain / 2 && !noSymlinks) {
                tracks_.push_back({"link.mp3", true});
            }
        }
        for (std::size_t i = 0; i < given; ++i) {
            tracks_.push_back(
                {"{0" + std::to_string(i + 1) + "}Title 0" + std::to_string(i + 1) + ".mp3"});
        }
        for (std::size_t i = 0; i < std::max(alike, chain); ++i) {
            if (i < alike) {
                tracks_.push_back({"{" + std::to_string(i + 1) + "}s.mp3"});
            }
            if (i < chain) {
                tracks_.push_back({"{0" + std::to_string(i + 5) + "}d.mp3"});
            }
        }
    }

    // The folder as every pair starts from, with no journal.
    void Fill() {
        std::error_code ignored;
        stdfs::remove_all(player_, ignored);
        stdfs::remove_all(state_.journals(), ignored);
        EXPECT_TRUE(stdfs::create_directory(player_));
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            const std::string path = player_ + "/" + tracks_[i].name;
            if (tracks_[i].symlink) {
                stdfs::create_symlink(outside_, path);
            } else {
                const std::string title = tracks_[i].name.substr(0, tracks_[i].name.size() - 4);
                test::WriteWholeFile(path, test::TaggedMp3({.title = title}, 1 + i % 3));
            }
        }
        test::WriteWholeFile(player_ + "/notes.txt", "notes");
        test::WriteWholeFile(player_ + "/.hidden", "hidden");
        EXPECT_TRUE(stdfs::create_directory(player_ + "/Extras"));
        test::WriteWholeFile(player_ + "/Extras/readme.txt", "readme");
        if (type_ == "2") {
            // The last track written must lie in a step of the clock gone by, or the run makes
            // it anew too, one time and not the next.
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }

    test::ProcessResult Arrange(int killAfter) {
        return Tool({"arrange", "--type", type_, "--order", orderFile_, player_}, killAfter);
    }
    test::ProcessResult Recover(int killAfter) { return Tool({"recover", player_}, killAfter); }

    // What does not hold after the pair (k, j), j 0 letting the first recover finish; out
    // takes what the last recover printed.
    Names Problems(int k, int j, std::string& out) {
        Fill();
        // A run that ended by itself made fewer changes than when counted (a copy stamped too
        // early is made again): not a fault, but it tells what the pair really was.
        Names notes;
        if (Arrange(k).exitCode != Killed) {
            notes.push_back("(the arrange ended by itself)");
        }
        if (j > 0 && Recover(j).exitCode != Killed) {
            notes.push_back("(the first recover ended by itself)");
        }
        Names problems;
        const test::ProcessResult last = Recover(0);
        out = last.out;
        if (last.exitCode != 0) {
            problems.push_back("the last recover exited with " + std::to_string(last.exitCode));
            // What it says it could not put back.
            for (const std::string& line : Lines(last.out)) {
                if (line.starts_with("kept\t")) {
                    problems.push_back("  " + line);
                }
            }
        }
        const Snapshot after = EntriesBelow(player_);
        // Killed after its last change, the arrange had done its work: the folder may stay as
        // the run left it, with the journal kept as the record an undo works from.
        const bool ended = k == changes_;
        if (!ended || !Differences(arranged_, after, describe_).empty()) {
            const Names differences = Differences(before_, after, describe_);
            problems.insert(problems.end(), differences.begin(), differences.end());
        }
        for (const auto& [name, entry] : after) {
            if (IsLeftOver(name)) {
                problems.push_back("left over: " + name);
            }
        }
        if (test::ReadFile(outside_) != outsideBytes_) {
            problems.push_back("the symlink's target changed");
        }
        const Names journals = JournalFiles(state_.journals());
        if (!journals.empty() && (!ended || NeedsRecovery())) {
            problems.push_back("journal left: " + journals.front());
        }
        if (!problems.empty()) {
            problems.insert(problems.begin(), notes.begin(), notes.end());
        }
        return problems;
    }

    // Whether the tool still finds an interrupted run to put right.
    bool NeedsRecovery() {
        return Tool({"list", "--type", type_, player_}).err.find("interrupted run") !=
               std::string::npos;
    }

    // The order the arrange is given: the list reversed, every track taking another place;
    // for creation times the tracks from the last written back, whatever ties the clock left.
    void WriteOrder() {
        Fill();
        before_ = EntriesBelow(player_);
        outsideBytes_ = test::ReadFile(outside_);
        for (const auto& [name, entry] : before_) {
            if (entry.kind == Entry::Kind::File) {
                describe_.Owns(entry.data, name);
            }
        }
        describe_.Owns(outsideBytes_, "the symlink's target");
        std::vector<Listed> order = ListedTracks(Tool({"list", "--type", type_, player_}).out);
        ASSERT_EQ(order.size(), tracks_.size());
        if (type_ == "2") {
            order.clear();
            for (const Track& track : tracks_) {
                order.push_back({track.name, track.name});
            }
        }
        std::reverse(order.begin(), order.end());
        std::string text;
        for (const Listed& track : order) {
            text += track.display + "\n";
        }
        orderFile_ = work_.WriteFile("order", text);
        // A file-name run gives the track at place i the name "{i}display", i as wide as the
        // count; a display shown by several tracks takes them in the order of the list. The
        // other strategies keep every name.
        arranged_ = before_;
        if (type_ == "1") {
            std::map<std::string, std::deque<std::string>> unused;
            for (auto track = order.rbegin(); track != order.rend(); ++track) {
                unused[track->display].push_back(track->name);
                arranged_.erase(track->name);
            }
            const std::size_t width = std::to_string(order.size()).size();
            for (std::size_t i = 0; i < order.size(); ++i) {
                std::string place = std::to_string(i + 1);
                place.insert(0, width - place.size(), '0');
                std::deque<std::string>& tracks = unused[order[i].display];
                arranged_["{" + place + "}" + order[i].display] = before_.at(tracks.front());
                tracks.pop_front();
            }
        }
    }

    // One pair: a failure of its own for the first few that fail, then only their points.
    void Check(int k, int j, std::string& out) {
        ++pairs_;
        const Names problems = Problems(k, j, out);
        if (problems.empty()) {
            return;
        }
        if (++failing_ <= ListedFailures) {
            ADD_FAILURE() << "type " << type_ << ", arrange killed after " << k
                          << (j > 0 ? ", recover killed after " + std::to_string(j)
                                    : std::string(", recover not killed"))
                          << Joined(problems);
        } else {
            unlisted_ += " (" + std::to_string(k) + ", " + std::to_string(j) + ")";
        }
    }

    // The pairs of the arrange killed after k: the recover let finish, whose report of about
    // one line a change guesses how many it makes, then killed across its run.
    void KillRecoverAfter(int k) {
        std::string out;
        Check(k, 0, out);
        const int guess = static_cast<int>(std::count(out.begin(), out.end(), '\n'));
        const int changes = CountChanges(
            [&](int j) {
                Fill();
                Arrange(k);
                return Recover(j).exitCode == Killed;
            },
            guess);
        for (const int j : RecoverPoints(changes)) {
            if (j > 0) {
                Check(k, j, out);
            }
        }
    }

    // Kills the arrange across its run and the recover across each of its runs.
    void Sweep(const std::string& type, const std::set<int>& edges, std::size_t evenly) {
        type_ = type;
        WriteOrder();
        ASSERT_FALSE(HasFatalFailure());

        // The whole run; on /tmp the entries come back in no particular order, so a directory
        // order run ends with a note that the player's order differs.
        Fill();
        const test::ProcessResult whole = Arrange(0);
        if (type_ != "0") {
            EXPECT_EQ(whole.exitCode, 0) << "type " << type_ << ", whole run\n" << whole.err;
        }
        EXPECT_EQ(Differences(arranged_, EntriesBelow(player_), describe_), Names{})
            << "type " << type_ << ", whole run";

        changes_ = CountChanges(
            [&](int k) {
                Fill();
                return Arrange(k).exitCode == Killed;
            },
            2 * Tracks());
        ASSERT_GT(changes_, 0);
        for (const int k : Spread(changes_, evenly, edges)) {
            KillRecoverAfter(k);
        }
        RecordProperty("pairs", pairs_);
        if (!unlisted_.empty()) {
            ADD_FAILURE() << "type " << type_ << ": " << failing_ << " of " << pairs_
                          << " pairs fail; also failing, (arrange, recover) killed after:"
                          << unlisted_;
        }
    }

    std::size_t Entries() const { return tracks_.size() + 3; }
    int Tracks() const { return static_cast<int>(tracks_.size()); }

    OwnStateFolder state_;
    test::TempFolder work_;
    const std::string player_ = work_ / "Player";
    const std::string outside_ = work_ / "outside.mp3";
    std::vector<Track> tracks_;
    std::string type_;
    std::string orderFile_;
    Snapshot before_;
    Snapshot arranged_;
    std::string outsideBytes_;
    Describer describe_;
    int changes_ = 0; // of the whole arrange
    int pairs_ = 0;
    std::size_t failing_ = 0;
    std::string unlisted_;
};

// Out to "QZ_TEMP1", across to "QZ_TEMP2" or straight back, back: the edges of each phase.
TEST_F(KillEverywhere, DirectoryOrder) {
    Lay(12, 3, 3, 4);
    const int e = static_cast<int>(Entries());
    Sweep("0", {2, e + 1, e + 2, e + 3, e + 4, 2 * e + 2, 2 * e + 3, 2 * e + 4}, 8);
}

// Every track to "N.qz_temp", then to "{NN}display".
TEST_F(KillEverywhere, FileNames) {
    Lay(12, 3, 3, 4);
    const int n = Tracks();
    Sweep("1", {2, n - 1, n, n + 1, n + 2}, 8);
}

// Each track made anew: copied to "N.qz_copy", renamed to "N.qz_temp", the copy to its name,
// the original removed. Every step of the first two tracks, then spread over the rest.
TEST_F(KillEverywhere, CreationTimes) {
    Lay(12, 3, 3, 4);
    Sweep("2", {1, 2, 3, 4, 5, 6, 7, 8}, 10);
}

} // namespace
} // namespace tralvo
