#include "arrange/recovery.h"

#include "arrange/player_order.h"
#include "arrange/run_journal.h"
#include "arrange/temporary_file_title.h"
#include "arrange/track_loading.h"
#include "platform/text.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <set>

namespace tralvo {

namespace {

using Reason = NotRestored::Reason;
using Kind = RecoveryStep::Kind;

constexpr std::string_view TempFolderNames[] = {SecondTempFolder, FirstTempFolder};

// Where the volume folds case, "qz_temp1" is the same folder as "QZ_TEMP1" (some mount
// options show short names in lower case); elsewhere it is an entry of the user's.
bool SameName(std::string_view a, std::string_view b, bool foldsCase) {
    return foldsCase ? EqualsIgnoringCase(a, b) : a == b;
}

bool IsTempFolderName(std::string_view name, bool foldsCase) {
    return SameName(name, FirstTempFolder, foldsCase) ||
           SameName(name, SecondTempFolder, foldsCase);
}

// The journal of folder's run when it is one for this folder and the run did not end.
std::optional<RunJournal> UnfinishedJournal(const std::string& folder, JournalStore& journals) {
    RunJournal journal;
    if (!ReadJournalOf(folder, journals, journal) || journal.state == JournalState::Done) {
        return std::nullopt;
    }
    return journal;
}

// Whether the file at path holds the bytes of the file at prefix, from its start on.
bool FileBeginsWith(const std::string& path, const std::string& prefix, FileSystem& fs) {
    UniqueFd whole;
    UniqueFd part;
    if (!fs.OpenForReading(path, whole) || !fs.OpenForReading(prefix, part)) {
        return false; // a pipe or a folder holds no track's bytes
    }
    std::vector<char> a(64 * 1024);
    std::vector<char> b(a.size());
    for (;;) {
        const ssize_t got = ::read(part.get(), b.data(), b.size());
        if (got <= 0) {
            return got == 0;
        }
        const auto count = static_cast<std::size_t>(got);
        std::size_t have = 0;
        while (have < count) {
            const ssize_t more = ::read(whole.get(), a.data() + have, count - have);
            if (more <= 0) {
                return false;
            }
            have += static_cast<std::size_t>(more);
        }
        if (!std::equal(b.begin(), b.begin() + got, a.begin())) {
            return false;
        }
    }
}

// Numbers compare as numbers, however many digits they have.
bool TemporaryNameLess(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

class FolderRecovery {
public:
    FolderRecovery(const std::string& folder, FileSystem& fs, JournalStore& journals)
        : folder_(FolderWithSlash(folder)), fs_(fs), journals_(journals),
          foldsCase_(fs.FoldsCase(folder_)) {}

    RecoveryReport Run() {
        std::optional<RunJournal> journal = UnfinishedJournal(folder_, journals_);
        if (journal) {
            report_.usedJournal = true;
            journal_ = &*journal;
            FollowJournal(*journal);
        }
        EmptyTempFolders(journal ? journal->others : std::vector<std::string>{});
        NameTemporaryFiles();
        RemoveCoveredCopies();
        if (journal) {
            FinishJournal(*journal);
        }
        return std::move(report_);
    }

private:
    bool Exists(const std::string& name) { return fs_.EntryExists(folder_ + name); }

    // Before the recovery's first change the journal says that the folder is being put back:
    // a recovery cut off and started again must not take a half put back folder for the end
    // of the run.
    void Changing() {
        if (journal_ != nullptr && journal_->state != JournalState::Recovering) {
            journal_->state = JournalState::Recovering;
            journals_.Write(folder_, FormatJournal(*journal_));
        }
    }

    bool Renamed(const std::string& from, const std::string& to) {
        Changing();
        return static_cast<bool>(fs_.Rename(folder_ + from, folder_ + to));
    }

    // shownFrom: where the entry was when the recovery began, if not at from.
    bool Move(const std::string& from, const std::string& to, Kind kind,
              const std::string& shownFrom = {}) {
        if (Renamed(from, to)) {
            report_.steps.push_back({kind, shownFrom.empty() ? from : shownFrom, to});
            return true;
        }
        report_.notRestored.push_back({from, Exists(to) ? Reason::NameTaken : Reason::CannotMove});
        return false;
    }

    void FollowJournal(RunJournal& journal) {
        switch (journal.strategy) {
        case PlayerType::DirectoryOrder:
            MoveBackByJournal(journal);
            break;
        case PlayerType::FileNames:
            RenameBackByJournal(journal);
            break;
        case PlayerType::CreationTimes:
            if (journal.recreated.empty()) {
                RestoreTimesByJournal(journal);
            } else {
                FinishRecreationByJournal(journal);
            }
            break;
        }
    }

    // Temporary folders of the run: a folder of such a name among the other entries was the
    // user's own and stays as it is.
    std::vector<std::string> TempFolders(const std::vector<std::string>& others) {
        std::vector<std::string> folders;
        for (const std::string_view name : TempFolderNames) {
            const bool owned = std::any_of(others.begin(), others.end(), [&](const std::string& o) {
                return SameName(o, name, foldsCase_);
            });
            if (!owned) {
                folders.emplace_back(name);
            }
        }
        return folders;
    }

    void MoveBackByJournal(const RunJournal& journal) {
        const std::vector<std::string> temps = TempFolders(journal.others);
        std::vector<std::string> names = journal.others;
        for (const JournalTrack& track : journal.arranged) {
            names.push_back(track.name);
        }
        for (const std::string& name : names) {
            const bool inPlace = Exists(name);
            bool found = false;
            for (const std::string& temp : temps) {
                const std::string moved = temp + "/" + name;
                if (!found && Exists(moved)) {
                    found = true;
                    if (inPlace) {
                        report_.notRestored.push_back({moved, Reason::NameTaken});
                        owned_.insert(moved);
                    } else {
                        Move(moved, name, Kind::Moved);
                    }
                }
            }
            if (!found && !inPlace) {
                report_.notRestored.push_back({name, Reason::Missing});
            }
        }
    }

    enum class Place { Own, Temporary, New, Missing };

    // Where a run of a journal that names no content left a track: before the second pass
    // nothing has a new name yet; from then on the journal says which tracks went through their
    // temporary names.
    Place PlaceByName(const JournalRename& rename, JournalState state) {
        if (state == JournalState::Running) {
            if (Exists(rename.from)) {
                return Place::Own;
            }
            return fs_.FileExists(folder_ + rename.temporary) ? Place::Temporary : Place::Missing;
        }
        if (!rename.atTemporary) {
            return Exists(rename.from) ? Place::Own : Place::Missing;
        }
        if (Exists(rename.temporary)) {
            return Place::Temporary;
        }
        if (Exists(rename.to)) {
            return rename.to == rename.from ? Place::Own : Place::New;
        }
        return Place::Missing;
    }

    std::string Folded(const std::string& name) const {
        return foldsCase_ ? ToLowerAscii(name) : name;
    }

    std::optional<ContentId> ContentOf(const std::string& name) {
        ContentId id;
        if (!fs_.ReadContentId(folder_ + name, id)) {
            return std::nullopt;
        }
        return id;
    }

    // Where each track of a file-name run is now: the name among those the run gave it whose
    // bytes are the track's. Several tracks may show the same name in the list, and a track's
    // new name may be another's old one, so a name alone proves nothing; tracks with the same
    // bytes are as good as each other. Empty where the track is nowhere.
    std::vector<std::string> LocateTracks(const RunJournal& journal) {
        const std::vector<JournalRename>& renames = journal.renames;
        std::map<std::string, std::optional<ContentId>> held; // folded name -> its bytes
        std::set<std::string> claimed;
        const auto holds = [&](std::size_t i, const std::string& name) {
            const std::string key = Folded(name);
            if (claimed.contains(key)) {
                return false;
            }
            auto found = held.find(key);
            if (found == held.end()) {
                found = held.emplace(key, ContentOf(name)).first;
            }
            return found->second && found->second == journal.arranged[i].content;
        };
        std::vector<std::string> where(renames.size());
        const auto claim = [&](std::size_t i, const std::string& name) {
            where[i] = name;
            claimed.insert(Folded(name));
        };
        for (std::size_t i = 0; i < renames.size(); ++i) {
            const JournalRename& rename = renames[i];
            if (!journal.arranged[i].content) {
                const Place place = PlaceByName(rename, journal.state);
                if (place != Place::Missing) {
                    claim(i, place == Place::Own         ? rename.from
                             : place == Place::Temporary ? rename.temporary
                                                         : rename.to);
                }
            } else if (holds(i, rename.from)) {
                claim(i, rename.from);
            }
        }
        for (std::size_t i = 0; i < renames.size(); ++i) {
            for (const std::string* name : {&renames[i].temporary, &renames[i].to}) {
                if (where[i].empty() && journal.arranged[i].content && holds(i, *name)) {
                    claim(i, *name);
                }
            }
        }
        // Tracks with the same bytes may have ended up in each other's places.
        for (std::size_t i = 0; i < renames.size(); ++i) {
            for (std::size_t j = 0; j < renames.size() && where[i].empty(); ++j) {
                for (const std::string* name :
                     {&renames[j].from, &renames[j].temporary, &renames[j].to}) {
                    if (where[i].empty() && journal.arranged[i].content && holds(i, *name)) {
                        claim(i, *name);
                    }
                }
            }
        }
        return where;
    }

    void RenameBackByJournal(RunJournal& journal) {
        const std::vector<JournalRename>& renames = journal.renames;
        std::vector<std::string> where = LocateTracks(journal);
        bool atTemporary = false;
        bool atNew = false;
        for (std::size_t i = 0; i < renames.size(); ++i) {
            if (where[i].empty()) {
                report_.notRestored.push_back({renames[i].from, Reason::Missing});
            } else if (where[i] == renames[i].temporary) {
                atTemporary = true;
                owned_.insert(renames[i].temporary);
            } else if (where[i] != renames[i].from) {
                atNew = true;
            }
        }
        // Every track at its new name or its old one, none between: the run had done all its
        // renames, unless it is this recovery's own work, begun before and cut off.
        if (!atTemporary && (!atNew || journal.state != JournalState::Recovering)) {
            runWasDone_ = atNew;
            return;
        }
        // Tracks first go to their temporary names, which are theirs, so that a track never
        // waits for a name another track still holds.
        std::vector<std::string> shownFrom(renames.size());
        for (std::size_t i = 0; i < renames.size(); ++i) {
            const JournalRename& rename = renames[i];
            if (where[i].empty() || where[i] == rename.from || where[i] == rename.temporary) {
                continue;
            }
            if (!Exists(rename.temporary) && Renamed(where[i], rename.temporary)) {
                shownFrom[i] = where[i];
                where[i] = rename.temporary;
                owned_.insert(rename.temporary);
            }
        }
        for (std::size_t i = 0; i < renames.size(); ++i) {
            JournalRename& rename = journal.renames[i];
            if (!where[i].empty() && where[i] != rename.from &&
                Move(where[i], rename.from, Kind::Renamed, shownFrom[i])) {
                // From now on the journal must find it under its own name.
                rename.atTemporary = false;
            } else if (where[i] != rename.from) {
                owned_.insert(where[i]);
            }
        }
    }

    void RestoreTimesByJournal(const RunJournal& journal) {
        for (const JournalTrack& track : journal.arranged) {
            if (!track.creationTime) {
                continue; // unknown before the run, so the run could not count from it
            }
            const std::string path = folder_ + track.name;
            if (!fs_.FileExists(path)) {
                report_.notRestored.push_back({track.name, Reason::Missing});
                continue;
            }
            FileTime now = 0;
            if (fs_.ReadCreationTime(path, now) && now == *track.creationTime) {
                continue;
            }
            Changing();
            if (fs_.WriteCreationTime(path, *track.creationTime)) {
                report_.steps.push_back({Kind::TimeRestored, track.name, track.name});
            } else {
                report_.notRestored.push_back({track.name, Reason::CannotSetTime});
            }
        }
    }

    bool HasSize(const std::string& name, std::uint64_t size) {
        std::uint64_t actual = 0;
        return fs_.ReadFileSize(folder_ + name, actual) && actual == size;
    }

    // Whether name holds the whole track of index i of a run that made the tracks anew: its
    // bytes where the journal knows them, else its size.
    bool IsWhole(const std::string& name, std::size_t i) {
        if (const std::optional<ContentId>& content = journal_->arranged[i].content) {
            return ContentOf(name) == content;
        }
        return HasSize(name, journal_->recreated[i].size);
    }

    // A track made anew goes through "N.qz_copy" (being written, then complete and on the
    // disk) and "N.qz_temp" (the original, while the copy takes its name). A file of the
    // track's size under its name makes whatever is left of the others spare; without one,
    // the original comes back, or else the complete copy. A power cut on FAT may leave an
    // entry whose record never reached the disk: an empty file where the track had bytes,
    // which holds nothing and gives way. Any other size marks a file the run did not make:
    // it stays.
    void FinishRecreationByJournal(const RunJournal& journal) {
        for (std::size_t i = 0; i < journal.arranged.size(); ++i) {
            const std::string& name = journal.arranged[i].name;
            const JournalRecreate& recreate = journal.recreated[i];
            const bool hasCopy = Exists(recreate.copy);
            const bool hasBackup = Exists(recreate.backup);
            for (const auto& [present, temporary] :
                 {std::pair{hasCopy, recreate.copy}, std::pair{hasBackup, recreate.backup}}) {
                if (present) {
                    owned_.insert(temporary);
                }
            }
            const bool inPlace = Exists(name);
            if (!hasCopy && !hasBackup) {
                if (!inPlace) {
                    report_.notRestored.push_back({name, Reason::Missing});
                }
                continue;
            }
            if (!inPlace || IsEmptyRemnant(name, recreate.size)) {
                // The original if it is whole, else the copy, which was whole before any
                // rename.
                const std::string& whole = hasBackup && IsWhole(recreate.backup, i)
                                               ? recreate.backup
                                           : hasCopy && IsWhole(recreate.copy, i) ? recreate.copy
                                                                                  : std::string();
                if (whole.empty() || (inPlace && !Removed(name)) ||
                    !Move(whole, name, Kind::Renamed)) {
                    if (whole.empty()) {
                        report_.notRestored.push_back(
                            {hasBackup ? recreate.backup : recreate.copy, Reason::NotIdentified});
                    }
                    continue;
                }
            } else if (!IsWhole(name, i)) {
                report_.notRestored.push_back(
                    {hasBackup ? recreate.backup : recreate.copy, Reason::NotIdentified});
                continue;
            }
            // The track stands whole under its name: the rest is spare.
            for (const std::string& spare : {recreate.backup, recreate.copy}) {
                if (!Exists(spare)) {
                    continue;
                }
                if (spare == recreate.copy || IsWhole(spare, i) ||
                    IsEmptyRemnant(spare, recreate.size)) {
                    Removed(spare);
                } else {
                    report_.notRestored.push_back({spare, Reason::NotIdentified});
                }
            }
        }
    }

    // An empty file where the track had bytes.
    bool IsEmptyRemnant(const std::string& name, std::uint64_t size) {
        return size > 0 && HasSize(name, 0);
    }

    bool Removed(const std::string& name) {
        Changing();
        if (fs_.RemoveFile(folder_ + name)) {
            report_.steps.push_back({Kind::FileRemoved, name, {}});
            return true;
        }
        report_.notRestored.push_back({name, Reason::CannotRemoveFile});
        return false;
    }

    std::vector<DirectoryEntry> Entries(const std::string& folder, EnumerateFilter filter) {
        std::vector<DirectoryEntry> entries;
        fs_.Enumerate(folder, filter, false, entries);
        return entries;
    }

    // Whatever is left in a temporary folder goes back in the order the folder lists it,
    // which on FAT is the order the run moved it in: "QZ_TEMP2" first, whose entries had
    // come further.
    void EmptyTempFolders(const std::vector<std::string>& others) {
        const std::vector<std::string> temps = TempFolders(others);
        for (const std::string& wanted : temps) {
            for (const DirectoryEntry& entry : Entries(folder_, EnumerateFilter::FilesAndFolders)) {
                if (entry.isFolder && SameName(entry.name, wanted, foldsCase_)) {
                    EmptyTempFolder(entry.name);
                }
            }
        }
    }

    void EmptyTempFolder(const std::string& temp) {
        for (const DirectoryEntry& entry :
             Entries(folder_ + temp + "/", EnumerateFilter::FilesAndFolders)) {
            const std::string moved = temp + "/" + entry.name;
            if (owned_.contains(moved)) {
                continue; // reported already
            }
            if (Exists(entry.name)) {
                report_.notRestored.push_back({moved, Reason::NameTaken});
            } else {
                Move(moved, entry.name, Kind::Moved);
            }
        }
        Changing();
        if (fs_.RemoveFolder(folder_ + temp)) {
            report_.steps.push_back({Kind::FolderRemoved, temp, {}});
        } else if (Entries(folder_ + temp + "/", EnumerateFilter::FilesAndFolders).empty()) {
            // A folder that still holds entries stays; they are reported already.
            report_.notRestored.push_back({temp, Reason::CannotRemoveFolder});
        }
    }

    struct Candidate {
        std::string temporary;
        std::string name; // empty when none could be made
        Reason problem = Reason::NoTitle;
    };

    void NameTemporaryFiles() {
        std::set<std::string> taken; // folded names of every entry of the folder
        std::vector<Candidate> candidates;
        for (const DirectoryEntry& entry : Entries(folder_, EnumerateFilter::FilesAndFolders)) {
            taken.insert(ToLowerAscii(entry.name));
            if (!entry.isFolder && IsTemporaryName(entry.name) && !owned_.contains(entry.name)) {
                candidates.push_back({entry.name, {}, Reason::NoTitle});
            }
        }
        std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
            return TemporaryNameLess(a.temporary, b.temporary);
        });
        std::map<std::string, int> proposed; // folded name -> how many candidates want it
        for (Candidate& candidate : candidates) {
            const media::SoundKind kind = SniffSoundKindOf(folder_ + candidate.temporary, fs_);
            if (kind == media::KindUnknown) {
                candidate.problem = Reason::UnknownKind;
                continue;
            }
            const std::string title =
                FileNameFromTitle(TitleOfFileAs(folder_ + candidate.temporary, kind));
            if (!title.empty()) {
                candidate.name = title + std::string(ExtensionOf(kind));
                ++proposed[ToLowerAscii(candidate.name)];
            }
        }
        for (const Candidate& candidate : candidates) {
            if (candidate.name.empty()) {
                report_.notRestored.push_back({candidate.temporary, candidate.problem});
            } else if (proposed[ToLowerAscii(candidate.name)] > 1) {
                report_.notRestored.push_back({candidate.temporary, Reason::TitleNotUnique});
            } else if (taken.contains(ToLowerAscii(candidate.name)) || Exists(candidate.name)) {
                report_.notRestored.push_back({candidate.temporary, Reason::NameTaken});
            } else if (Move(candidate.temporary, candidate.name, Kind::Renamed)) {
                taken.insert(ToLowerAscii(candidate.name));
            }
        }
    }

    // Without the journal a copy cannot be told from a track: it goes only when another file
    // of the folder holds its bytes, or begins with them (a copy cut off while written).
    void RemoveCoveredCopies() {
        std::vector<std::string> copies;
        std::vector<std::string> others;
        for (const DirectoryEntry& entry : Entries(folder_, EnumerateFilter::FilesOnly)) {
            if (owned_.contains(entry.name)) {
                continue;
            }
            (IsCopyName(entry.name) ? copies : others).push_back(entry.name);
        }
        for (const std::string& copy : copies) {
            const bool covered = std::any_of(others.begin(), others.end(), [&](const auto& other) {
                return FileBeginsWith(folder_ + other, folder_ + copy, fs_);
            });
            if (covered) {
                Removed(copy);
            } else {
                report_.notRestored.push_back({copy, Reason::IncompleteCopy});
            }
        }
    }

    // Complete: the journal has served, unless the run had in fact ended, in which case its
    // journal becomes the record to undo it by. Incomplete: the journal stays, brought up to
    // date, for another try.
    void FinishJournal(RunJournal& journal) {
        if (!report_.complete()) {
            journals_.Write(folder_, FormatJournal(journal));
            return;
        }
        if (!journal.undoRun && RunHadEnded(journal)) {
            journal.state = JournalState::Done;
            journals_.Write(folder_, FormatJournal(journal));
        } else {
            journals_.Remove(folder_);
        }
    }

    // Whether the run had got to its end when it was cut off: the player's order is the
    // arranged one. A folder half put back by an earlier recovery never counts.
    bool RunHadEnded(const RunJournal& journal) {
        if (journal.state == JournalState::Recovering) {
            return false;
        }
        if (journal.strategy == PlayerType::FileNames) {
            return runWasDone_;
        }
        const std::vector<ListedTrack> now = ListPlayerOrder(folder_, journal.Order(), fs_);
        return now.size() == journal.arranged.size() &&
               std::equal(now.begin(), now.end(), journal.arranged.begin(),
                          [](const ListedTrack& listed, const JournalTrack& track) {
                              return listed.name == track.name;
                          });
    }

    const std::string folder_;
    FileSystem& fs_;
    JournalStore& journals_;
    const bool foldsCase_;
    RunJournal* journal_ = nullptr;
    // A file-name run that had done all its renames: it stays done.
    bool runWasDone_ = false;
    RecoveryReport report_;
    // What the journal accounted for: temporary names of its tracks, entries it reported.
    std::set<std::string> owned_;
};

} // namespace

bool NeedsRecovery(const std::string& folder, FileSystem& fs, JournalStore& journals) {
    const std::string path = FolderWithSlash(folder);
    std::vector<DirectoryEntry> entries;
    if (folder.empty() || journals.HeldElsewhere(path) ||
        !fs.Enumerate(path, EnumerateFilter::FilesAndFolders, false, entries)) {
        return false;
    }
    const bool foldsCase = fs.FoldsCase(path);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isFolder ? IsTempFolderName(entry.name, foldsCase)
                           : IsTemporaryName(entry.name) || IsCopyName(entry.name)) {
            return true;
        }
    }
    return UnfinishedJournal(path, journals).has_value();
}

RecoveryReport RecoverFolder(const std::string& folder, FileSystem& fs, JournalStore& journals) {
    FolderLock lock;
    if (const Status locked = journals.Lock(FolderWithSlash(folder), lock);
        !locked && locked.code() == EWOULDBLOCK) {
        RecoveryReport busy;
        busy.notRestored.push_back({FolderWithSlash(folder), Reason::Busy});
        return busy;
    }
    return FolderRecovery(folder, fs, journals).Run();
}

bool OfferRecovery(const std::string& folder, FileSystem& fs, RecoveryDialogue& dialogue,
                   JournalStore& journals) {
    if (!NeedsRecovery(folder, fs, journals) || !dialogue.RecoverNow(folder)) {
        return false;
    }
    dialogue.Recovered(RecoverFolder(folder, fs, journals));
    return true;
}

} // namespace tralvo
