#include "arrange/journal_keeper.h"

#include "arrange/recovery.h"
#include "platform/forwarding_file_system.h"

#include <algorithm>
#include <vector>

namespace tralvo {

namespace {

// The run's file system, its changes counted: a run that changed nothing leaves no record.
class JournalingFileSystem final : public ForwardingFileSystem {
public:
    JournalingFileSystem(FileSystem& inner, int& changes)
        : ForwardingFileSystem(inner), changes_(changes) {}

    Status Rename(const std::string& from, const std::string& to) override {
        return Counted(ForwardingFileSystem::Rename(from, to));
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
            ++changes_;
        }
        return status;
    }

    int& changes_;
};

// Keeps the journal of one run in step with the folder: written before the first change,
// brought up to date when the file-name strategy says that its second pass starts, and at
// the end kept as the record an undo works from, or removed.
class JournalKeeper {
public:
    JournalKeeper(RunJournal journal, JournalStore& store, ArrangeRun& run);
    JournalKeeper(const JournalKeeper&) = delete;
    JournalKeeper& operator=(const JournalKeeper&) = delete;

    // Writes the journal; when it cannot, reports the failure, the run refused, and gives
    // false: the run must not start.
    bool Start();
    // The run the strategy carries the journal's plan out on: the run's own on its counted file
    // system, asking StopNow between steps and telling the keeper when its second pass starts.
    ArrangeRun Watched();
    // A run that changed something puts the folder's changes on the disk and leaves its
    // journal as the record to undo it by; an undo, or a run that changed nothing, leaves
    // none.
    void Finish();
    // Whether the run must make no further change: a signal asked it to stop, or its journal
    // could not keep up.
    bool Stopping() const;
    // The same, asked by the run at a point where it stops if so: End then puts it back.
    bool StopNow();
    // Ends the run: one that stopped early is put back as a recovery would put it back, and
    // the user told what became of the folder; any other ends as Finish says.
    void End();

    const RunJournal& journal() const { return journal_; }

private:
    // Records which renames of the plan took their temporary names and that the second pass
    // starts; when that cannot be written the run stops, and End puts the folder back.
    Status EnterSecondPass(const std::vector<bool>& atTemporary);
    Status Write();
    // Whether the run left an entry in a temporary folder or under a temporary name.
    bool LeftOutOfPlace();

    RunJournal journal_;
    JournalStore& store_;
    ArrangeRun& run_;
    int changes_ = 0;
    JournalingFileSystem fs_;
    bool secondPassRefused_ = false;
    Status secondPassFailure_;
    bool stopped_ = false;
};

} // namespace

JournalKeeper::JournalKeeper(RunJournal journal, JournalStore& store, ArrangeRun& run)
    : journal_(std::move(journal)), store_(store), run_(run), fs_(run.fs, changes_) {}

ArrangeRun JournalKeeper::Watched() {
    return run_.Watched(
        fs_, [this] { return StopNow(); },
        [this](const std::vector<bool>& atTemporary) { return EnterSecondPass(atTemporary); });
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

Status JournalKeeper::EnterSecondPass(const std::vector<bool>& atTemporary) {
    for (std::size_t i = 0; i < journal_.renames.size() && i < atTemporary.size(); ++i) {
        journal_.renames[i].atTemporary = atTemporary[i];
    }
    journal_.state = JournalState::SecondPass;
    Status written = Write();
    if (!written) {
        // The journal on the disk still says that the tracks wait under their temporary
        // names, which is where End puts them back from.
        secondPassFailure_ = written;
        secondPassRefused_ = true;
        stopped_ = true;
        journal_.state = JournalState::Running;
    }
    return written;
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

bool RunJournaled(RunJournal journal, JournalStore& store, ArrangeRun& run,
                  const std::function<void(const RunJournal& plan, ArrangeRun& watched)>& steps) {
    JournalKeeper keeper(std::move(journal), store, run);
    if (!keeper.Start()) {
        return false;
    }
    ArrangeRun watched = keeper.Watched();
    // The plan as written: the keeper's own copy follows the run.
    const RunJournal plan = keeper.journal();
    steps(plan, watched);
    run.TakeFailures(watched);
    keeper.End();
    return true;
}

} // namespace tralvo
