// The run journal, read back after a run was cut off, from a file that a cut-off write or a
// stranger may have garbled. What reads must be a journal the program could have written:
// one that leads no rename out of the folder, that writes back to text reading as the same
// journal, and that no longer reads once cut short.
#include "arrange/run_journal.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using tralvo::RunJournal;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool IsFolderPath(std::string_view folder) {
    return !folder.empty() && folder.front() == '/' && folder.back() == '/' &&
           folder.find('\0') == std::string_view::npos;
}

// Only bare names of the folder, each track's own temporary names, and as many records of
// each kind as the run's type asks for.
void CheckSafe(const RunJournal& journal) {
    Check(IsFolderPath(journal.folder));
    Check(journal.volume.empty() ? journal.belowRoot.empty() : IsFolderPath(journal.belowRoot));
    Check(tralvo::PlayerTypeFromNumber(tralvo::PlayerTypeNumber(journal.strategy)).has_value());
    const std::size_t count = journal.arranged.size();
    Check(journal.before.size() == count);
    for (const tralvo::JournalTrack& track : journal.arranged) {
        Check(IsBareName(track.name));
    }
    for (const std::string& other : journal.others) {
        Check(IsBareName(other));
    }
    Check(journal.others.empty() || journal.strategy == tralvo::PlayerType::DirectoryOrder);
    Check(journal.renames.size() ==
          (journal.strategy == tralvo::PlayerType::FileNames ? count : 0));
    for (std::size_t i = 0; i < journal.renames.size(); ++i) {
        const tralvo::JournalRename& rename = journal.renames[i];
        Check(IsBareName(rename.from) && IsBareName(rename.to));
        Check(rename.temporary == tralvo::TemporaryName(i));
    }
    Check(journal.recreated.empty() || (journal.strategy == tralvo::PlayerType::CreationTimes &&
                                        journal.recreated.size() == count));
    for (std::size_t i = 0; i < journal.recreated.size(); ++i) {
        Check(journal.recreated[i].copy == tralvo::CopyName(i));
        Check(journal.recreated[i].backup == tralvo::TemporaryName(i));
    }
    Check(journal.strategy == tralvo::PlayerType::FileNames ||
          journal.state != tralvo::JournalState::SecondPass);
}

bool SameJournal(const RunJournal& a, const RunJournal& b) {
    if (a.folder != b.folder || a.volume != b.volume || a.belowRoot != b.belowRoot ||
        a.strategy != b.strategy || a.only83FileNames != b.only83FileNames ||
        a.undoRun != b.undoRun || a.state != b.state || a.before != b.before ||
        a.others != b.others || a.arranged.size() != b.arranged.size() ||
        a.renames.size() != b.renames.size() || a.recreated.size() != b.recreated.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.arranged.size(); ++i) {
        const tralvo::JournalTrack& x = a.arranged[i];
        const tralvo::JournalTrack& y = b.arranged[i];
        if (x.display != y.display || x.name != y.name || x.creationTime != y.creationTime ||
            x.content != y.content) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.renames.size(); ++i) {
        const tralvo::JournalRename& x = a.renames[i];
        const tralvo::JournalRename& y = b.renames[i];
        if (x.from != y.from || x.temporary != y.temporary || x.to != y.to ||
            x.atTemporary != y.atTemporary) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.recreated.size(); ++i) {
        const tralvo::JournalRecreate& x = a.recreated[i];
        const tralvo::JournalRecreate& y = b.recreated[i];
        if (x.copy != y.copy || x.backup != y.backup || x.size != y.size) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<RunJournal> journal = tralvo::ParseJournal(text);
    if (!journal) {
        return 0;
    }
    CheckSafe(*journal);

    const std::string written = tralvo::FormatJournal(*journal);
    const std::optional<RunJournal> reread = tralvo::ParseJournal(written);
    Check(reread.has_value() && SameJournal(*reread, *journal));
    Check(tralvo::FormatJournal(*reread) == written);

    // Cut after any line, or within the last one, it must not read.
    const std::string_view whole(written);
    Check(!tralvo::ParseJournal(whole.substr(0, whole.size() - 1)));
    for (std::size_t end = whole.find('\n'); end + 1 < whole.size();
         end = whole.find('\n', end + 1)) {
        Check(!tralvo::ParseJournal(whole.substr(0, end + 1)));
    }
    return 0;
}
