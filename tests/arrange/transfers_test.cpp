// Upload, download and delete between the file list and the track list, with a shell file
// operation that copies, refuses or stops as a test tells it.
#include "arrange/track_loading.h"
#include "arrange/transfers.h"
#include "arrange_test_support.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace tralvo {
namespace {

namespace fs = std::filesystem;

// Copies and deletes for real, but only as far as the script allows: a copy stops after
// copyLimit files (a user's Cancel), a delete answered No deletes nothing.
class ScriptedShell : public ShellFileOperation {
public:
    void Copy(const std::vector<std::string>& sources,
              const std::vector<std::string>& targets) override {
        copied.push_back(targets);
        for (std::size_t i = 0; i < sources.size() && i < copyLimit; ++i) {
            fs::copy_file(sources[i], targets[i], fs::copy_options::overwrite_existing);
        }
        if (afterCopy) {
            afterCopy();
        }
    }
    void Delete(const std::vector<std::string>& paths) override {
        if (beforeDelete) {
            beforeDelete();
        }
        deleted.push_back(paths);
        if (!answerYes) {
            return;
        }
        for (const std::string& path : paths) {
            if (!kept.contains(path)) {
                fs::remove(path);
            }
        }
    }

    std::size_t copyLimit = SIZE_MAX;
    bool answerYes = true;
    std::set<std::string> kept; // files the delete fails on
    std::function<void()> afterCopy;
    std::function<void()> beforeDelete;
    std::vector<std::vector<std::string>> copied; // the targets of every copy
    std::vector<std::vector<std::string>> deleted;
};

// The track list under file-name order: an item's path is its file's, which may carry an
// order prefix that the display string leaves out.
class PlayerTracks : public TrackItems {
public:
    const TrackList& Tracks() const override { return list; }
    std::string PathOf(std::size_t index) const override { return list[index].file->FileName(); }
    void Remove(std::size_t index) override { list.RemoveAt(index); }
    void RenewFile(std::size_t index, std::unique_ptr<media::SoundFile> file) override {
        list[index].file = std::move(file);
    }
    void Append(TrackEntry entry) override { list.Append(std::move(entry)); }

    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const TrackEntry& entry : list) {
            shown.push_back(entry.display);
        }
        return shown;
    }

    TrackList list;
};

class Files : public NameItems {
public:
    explicit Files(std::string folder) : folder_(std::move(folder)) {}
    const std::vector<std::string>& Names() const override { return names; }
    std::string PathOf(std::size_t index) const override { return folder_ + "/" + names[index]; }
    void Remove(std::size_t index) override {
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void Append(std::string name) override { names.push_back(std::move(name)); }

    std::vector<std::string> names;

private:
    std::string folder_;
};

std::string Song(const std::string& title) {
    test::Id3v1Fields fields;
    fields.title = title;
    return test::TaggedMp3(fields);
}

class TransfersTest : public testing::Test {
protected:
    void SetUp() override {
        computer = folder.MakeFolder("computer");
        player = folder.MakeFolder("player");
    }
    // The player folder as the track list shows it under file-name order.
    void LoadPlayer() {
        tracks.list = LoadTracks(player, {PlayerType::FileNames}, SystemFileSystem());
    }
    bool Upload(const std::vector<std::string>& names) {
        return UploadFiles(names, computer, player, tracks, shell, SystemFileSystem());
    }

    test::TempFolder folder;
    std::string computer;
    std::string player;
    PlayerTracks tracks;
    ScriptedShell shell;
};

TEST_F(TransfersTest, AnUploadReplacesAShownTrackInPlaceAndReadsItsTagsAgain) {
    folder.WriteFile("player/{01}x.mp3", Song("X"));
    folder.WriteFile("player/{04}a.mp3", Song("Old"));
    folder.WriteFile("computer/A.MP3", Song("New"));
    LoadPlayer();

    EXPECT_FALSE(Upload({"A.MP3"}));
    EXPECT_EQ(shell.copied, std::vector<std::vector<std::string>>{{player + "/{04}a.mp3"}});
    EXPECT_EQ(tracks.Shown(), (std::vector<std::string>{"x.mp3", "a.mp3"}));
    EXPECT_EQ(tracks.list[1].file->FileName(), player + "/{04}a.mp3");
    EXPECT_EQ(tracks.list[1].file->Title(), "New");
    EXPECT_FALSE(fs::exists(player + "/A.MP3"));
}

TEST_F(TransfersTest, ANameOnDiskFindsItsTrackWhenNoTrackShowsIt) {
    folder.WriteFile("player/{04}a.mp3", Song("Old"));
    folder.WriteFile("computer/{04}A.mp3", Song("New"));
    LoadPlayer();
    const UploadPlan plan =
        PlanUpload({"{04}A.mp3", "missing.mp3"}, computer, player, tracks, SystemFileSystem());
    EXPECT_EQ(plan.sources, std::vector<std::string>{computer + "/{04}A.mp3"});
    EXPECT_EQ(plan.targets, std::vector<std::string>{player + "/{04}a.mp3"});
    EXPECT_EQ(plan.replaced, std::vector<std::string>{"a.mp3"});
    EXPECT_TRUE(plan.added.empty());
}

TEST_F(TransfersTest, NewFilesComeAtTheEndInFileListOrder) {
    folder.WriteFile("player/{1}a.mp3", Song("A"));
    folder.WriteFile("computer/c.mp3", Song("C"));
    folder.WriteFile("computer/b.mp3", Song("B"));
    LoadPlayer();

    EXPECT_TRUE(Upload({"c.mp3", "b.mp3"}));
    EXPECT_EQ(tracks.Shown(), (std::vector<std::string>{"a.mp3", "c.mp3", "b.mp3"}));
    EXPECT_EQ(tracks.list[2].file->Title(), "B");
    EXPECT_EQ(tracks.list[2].file->FileName(), player + "/b.mp3");
}

TEST_F(TransfersTest, ACancelledCopyAddsNothingAndKeepsReplacedTracks) {
    folder.WriteFile("player/a.mp3", Song("Old"));
    folder.WriteFile("computer/a.mp3", Song("New"));
    folder.WriteFile("computer/b.mp3", Song("B"));
    LoadPlayer();
    shell.copyLimit = 0;

    EXPECT_FALSE(Upload({"a.mp3", "b.mp3"}));
    EXPECT_EQ(tracks.Shown(), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(tracks.list[0].file->Title(), "Old");
}

TEST_F(TransfersTest, AReplacedTrackWhoseFileIsGoneLeavesTheList) {
    folder.WriteFile("player/a.mp3", Song("Old"));
    folder.WriteFile("player/z.mp3", Song("Z"));
    folder.WriteFile("computer/a.mp3", Song("New"));
    LoadPlayer();
    shell.afterCopy = [&] { fs::remove(player + "/a.mp3"); };

    Upload({"a.mp3"});
    EXPECT_EQ(tracks.Shown(), std::vector<std::string>{"z.mp3"});
}

TEST_F(TransfersTest, NothingHappensWithoutAPlayerFolder) {
    folder.WriteFile("computer/a.mp3", Song("A"));
    EXPECT_FALSE(
        UploadFiles({"a.mp3"}, computer, player + "/gone", tracks, shell, SystemFileSystem()));
    EXPECT_TRUE(shell.copied.empty());
}

TEST_F(TransfersTest, TwoTracksShownAlikeDownloadUnderTheSecondOnesOwnName) {
    folder.WriteFile("player/{1}x.mp3", Song("One"));
    folder.WriteFile("player/{2}x.mp3", Song("Two"));
    LoadPlayer();
    Files files(computer);

    DownloadTracks({0, 1}, tracks, computer, files, shell, SystemFileSystem());
    EXPECT_EQ(shell.copied, (std::vector<std::vector<std::string>>{
                                {computer + "/x.mp3", computer + "/{2}x.mp3"}}));
    EXPECT_EQ(files.names, (std::vector<std::string>{"x.mp3", "{2}x.mp3"}));
    EXPECT_EQ(test::ReadFile(computer + "/{2}x.mp3"), Song("Two"));
}

TEST_F(TransfersTest, ADownloadOfANameTheFileListShowsReplacesThatFile) {
    folder.WriteFile("player/{1}x.mp3", Song("New"));
    folder.WriteFile("computer/X.mp3", Song("Old"));
    LoadPlayer();
    Files files(computer);
    files.names = {"X.mp3"};

    DownloadTracks({0}, tracks, computer, files, shell, SystemFileSystem());
    EXPECT_EQ(shell.copied, std::vector<std::vector<std::string>>{{computer + "/X.mp3"}});
    EXPECT_EQ(files.names, std::vector<std::string>{"X.mp3"});
}

TEST_F(TransfersTest, ARefusedDownloadAddsNoName) {
    folder.WriteFile("player/a.mp3", Song("A"));
    LoadPlayer();
    Files files(computer);
    shell.copyLimit = 0;
    DownloadTracks({0}, tracks, computer, files, shell, SystemFileSystem());
    EXPECT_TRUE(files.names.empty());
}

TEST_F(TransfersTest, ADeleteAnsweredNoKeepsEveryItem) {
    folder.WriteFile("player/a.mp3", Song("A"));
    LoadPlayer();
    shell.answerYes = false;
    DeleteItems({0}, tracks, "", {}, shell, SystemFileSystem());
    EXPECT_EQ(shell.deleted.size(), 1u);
    EXPECT_EQ(tracks.Shown(), std::vector<std::string>{"a.mp3"});
}

TEST_F(TransfersTest, ItemsLeaveOnlyWhenTheirFilesAreGone) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) {
        folder.WriteFile(std::string("computer/") + name, Song(name));
    }
    Files files(computer);
    files.names = {"a.mp3", "b.mp3", "c.mp3", "d.mp3"};
    shell.kept = {computer + "/c.mp3"};

    DeleteItems({3, 0, 2}, files, "", {}, shell, SystemFileSystem());
    EXPECT_EQ(shell.deleted, (std::vector<std::vector<std::string>>{
                                 {computer + "/a.mp3", computer + "/c.mp3", computer + "/d.mp3"}}));
    EXPECT_EQ(files.names, (std::vector<std::string>{"b.mp3", "c.mp3"}));
}

TEST_F(TransfersTest, DeletingThePlayingFileStopsItBeforeTheDelete) {
    folder.WriteFile("player/{1}Song.mp3", Song("Song"));
    LoadPlayer();
    bool stopped = false;
    bool stoppedBeforeDelete = false;
    shell.beforeDelete = [&] { stoppedBeforeDelete = stopped; };

    // Another case of the same path still counts as the file in play.
    DeleteItems(
        {0}, tracks, player + "/{1}SONG.MP3", [&] { stopped = true; }, shell, SystemFileSystem());
    EXPECT_TRUE(stoppedBeforeDelete);
    EXPECT_TRUE(tracks.list.empty());

    folder.WriteFile("player/b.mp3", Song("B"));
    LoadPlayer();
    stopped = false;
    DeleteItems(
        {0}, tracks, player + "/other.mp3", [&] { stopped = true; }, shell, SystemFileSystem());
    EXPECT_FALSE(stopped);
}

} // namespace
} // namespace tralvo
