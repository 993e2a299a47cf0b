#include "arrange/journal_keeper.h"

#include "arrange/recovery.h"
#include "platform/forwarding_file_system.h"

#include <algorithm>
#include <cerrno>

namespace tralvo {

// The run's file system, watched: it tells the keeper of each change.
class JournalingFileSystem final : public ForwardingFileSystem {
public:
    JournalingFileSystem(FileSystem& inner, JournalKeeper& keeper)
        : ForwardingFileSystem(inner), keeper_(keeper) {}

    Status Rename(const std::string& from, const std::string& to) override {
        // The second pass must not start before the journal says which tracks wear their
        // temporary names: without it a track at its new name could not be told from the
        // one that had that name before. Rather no second pass than one without a journal.
        if (keeper_.TemporaryIndex(from) >= 0 && !keeper_.EnterSecondPass()) {
            return Status::Failure(EIO,
                                   "rename " + from + ": the run journal could not be written");
        }
        Status status = ForwardingFileSystem::Rename(from, to);
        if (status) {
            ++keeper_.changes_;
            const int index = keeper_.TemporaryIndex(to);
            if (index >= 0 && keeper_.journal_.state == JournalState::Running) {
                keeper_.journal_.renames[static_cast<std::size_t>(index)].atTemporary = true;
            }
        }
        return status;
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        return Counted(ForwardingFileSystem::WriteCreationTime(path, time));
    }
    Status CopyFile(const std::string& from, const std::string& to) override {
        return Counted(ForwardingFileSystem::CopyFile(from, to));
    }
    Status RemoveFile(const std::string& path) override {
        return Counted(ForwardingFileSystem::RemoveFile(path));
    }

private:
    Status Counted(Status status) {
        if (status) {
            ++keeper_.changes_;
        }
        return status;
    }

    JournalKeeper& keeper_;
};

JournalKeeper::JournalKeeper(RunJournal journal, JournalStore& store, ArrangeRun& run)
    : journal_(std::move(journal)), store_(store), run_(run),
      fs_(std::make_unique<JournalingFileSystem>(run.fs, *this)) {
    for (std::size_t i = 0; i < journal_.renames.size(); ++i) {
        temporaries_[journal_.folder + journal_.renames[i].temporary] = static_cast<int>(i);
    }
}

JournalKeeper::~JournalKeeper() = default;

FileSystem& JournalKeeper::fs() {
    return *fs_;
}

Status JournalKeeper::Write() {
    return store_.Write(journal_.folder, FormatJournal(journal_));
}

bool JournalKeeper::Start() {
    journal_.state = JournalState::Running;
    Status written = Write();
    if (written) {
        return true;
    }
    run_.Fail(RunStep::WriteJournal, store_.PathOf(journal_.folder), std::move(written));
    run_.report.outcome = RunOutcome::Refused;
    return false;
}

bool JournalKeeper::EnterSecondPass() {
    if (journal_.state != JournalState::Running) {
        return !secondPassRefused_;
    }
    journal_.state = JournalState::SecondPass;
    if (Status written = Write(); !written) {
        secondPassFailure_ = std::move(written);
        // The journal on the disk still says that the tracks wait under their temporary
        // names, which is where End puts them back from.
        secondPassRefused_ = true;
        journal_.state = JournalState::Running;
    }
    return !secondPassRefused_;
}

int JournalKeeper::TemporaryIndex(const std::string& path) const {
    const auto found = temporaries_.find(path);
    return found == temporaries_.end() ? -1 : found->second;
}

bool JournalKeeper::LeftOutOfPlace() {
    FileSystem& fs = run_.fs;
    if (journal_.strategy == PlayerType::DirectoryOrder) {
        // A folder of that name that was there before is one of the other entries.
        const auto left = [&](const char* name) {
            return fs.FolderExists(journal_.folder + name) &&
                   std::find(journal_.others.begin(), journal_.others.end(), name) ==
                       journal_.others.end();
        };
        return left(FirstTempFolder) || left(SecondTempFolder);
    }
    for (const JournalRename& rename : journal_.renames) {
        if (rename.atTemporary && fs.FileExists(journal_.folder + rename.temporary)) {
            return true;
        }
    }
    for (const JournalRecreate& recreate : journal_.recreated) {
        if (fs.FileExists(journal_.folder + recreate.copy) ||
            fs.FileExists(journal_.folder + recreate.backup)) {
            return true;
        }
    }
    return false;
}

void JournalKeeper::Finish() {
    // What the run left in a temporary place is put back by the recovery, which needs the
    // journal as it stands; so does a refused second pass. A player whose folder cannot be
    // flushed may have been pulled out before the run reached it: the journal stays for the
    // recovery to check.
    if (secondPassRefused_ || LeftOutOfPlace() ||
        (changes_ > 0 && !run_.fs.Flush(journal_.folder))) {
        return;
    }
    if (!journal_.undoRun && changes_ > 0) {
        journal_.state = JournalState::Done;
        // Should this fail, the journal as written before still tells the truth.
        Write();
        return;
    }
    store_.Remove(journal_.folder);
}

bool JournalKeeper::Stopping() const {
    return secondPassRefused_ || RunStopRequested();
}

namespace {

// The run's journal as the keeper holds it, for the recovery that puts a stopped run back:
// the journal on the disk may be behind it. What the recovery writes goes on to the disk too.
class HeldJournal final : public JournalStore {
public:
    HeldJournal(std::string text, JournalStore& inner) : text_(std::move(text)), inner_(inner) {}
    std::string PathOf(const std::string& folder) override { return inner_.PathOf(folder); }
    Status Write(const std::string& folder, const std::string& text) override {
        text_ = text;
        inner_.Write(folder, text);
        return Status::Ok();
    }
    Status Read(const std::string& /*folder*/, std::string& text) override {
        text = text_;
        return Status::Ok();
    }
    Status Remove(const std::string& folder) override { return inner_.Remove(folder); }

private:
    std::string text_;
    JournalStore& inner_;
};

} // namespace

bool JournalKeeper::StopNow() {
    stopped_ = stopped_ || Stopping();
    return stopped_;
}

void JournalKeeper::End() {
    if (!stopped_) {
        Finish(); // a stop asked for once the last step was done changes nothing
        return;
    }
    run_.report.outcome = RunOutcome::Stopped;
    HeldJournal held(FormatJournal(journal_), store_);
    RecoveryReport report = RecoverFolder(journal_.folder, run_.fs, held);
    if (!report.complete()) {
        RunFailure left{RunStep::PutBackInPart, journal_.folder, Status::Ok()};
        left.notRestored = std::move(report.notRestored);
        run_.Fail(std::move(left));
        return;
    }
    if (report.steps.empty()) {
        Finish(); // nothing was out of place: what the run did so far stands
    }
    if (secondPassRefused_) {
        run_.Fail(RunStep::JournalPutBack, store_.PathOf(journal_.folder), secondPassFailure_);
    } else {
        run_.Fail(RunStep::Stopped, journal_.folder);
    }
}

} // namespace tralvo
