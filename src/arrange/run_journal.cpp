#include "arrange/run_journal.h"

#include "platform/escaped_fields.h"
#include "platform/text.h"

#include <charconv>
#include <cstdio>

namespace tralvo {

namespace {

// Version 1 journals, written before tracks were identified by their content, are still read.
constexpr std::string_view VersionLine = "Tralvo run journal 2";
constexpr std::string_view FirstVersionLine = "Tralvo run journal 1";
constexpr std::string_view TemporarySuffix = ".qz_temp";
constexpr std::string_view CopySuffix = ".qz_copy";

// Decimal digits, then suffix in any case.
bool IsNumberedName(std::string_view name, std::string_view suffix) {
    if (name.size() <= suffix.size() ||
        !EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix)) {
        return false;
    }
    const std::string_view digits = name.substr(0, name.size() - suffix.size());
    return digits.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string_view StateWord(JournalState state) {
    switch (state) {
    case JournalState::SecondPass:
        return "second-pass";
    case JournalState::Done:
        return "done";
    case JournalState::Recovering:
        return "recovering";
    case JournalState::Running:
        break;
    }
    return "running";
}

// A bare name inside the folder: a journal must not lead a rename anywhere else.
bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool IsFolderPath(std::string_view folder) {
    return folder.size() >= 1 && folder.front() == '/' && folder.back() == '/' &&
           folder.find('\0') == std::string_view::npos;
}

std::optional<bool> ParseFlag(std::string_view text) {
    if (text == "0" || text == "1") {
        return text == "1";
    }
    return std::nullopt;
}

bool ParseNumber(std::string_view text, std::uint64_t& number, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "-" when unknown, else "f" (a file) or "l" (a link), size and hash in hexadecimal.
std::string FormatContent(const std::optional<ContentId>& content) {
    if (!content) {
        return "-";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%c:%llx:%016llx", content->link ? 'l' : 'f',
                  static_cast<unsigned long long>(content->size),
                  static_cast<unsigned long long>(content->hash));
    return text;
}

std::optional<ContentId> ParseContent(std::string_view text, bool& valid) {
    valid = text == "-";
    if (valid || text.size() < 5 || (text[0] != 'f' && text[0] != 'l') || text[1] != ':') {
        return std::nullopt;
    }
    const std::size_t colon = text.find(':', 2);
    ContentId id;
    id.link = text[0] == 'l';
    valid = colon != std::string_view::npos &&
            ParseNumber(text.substr(2, colon - 2), id.size, 16) &&
            ParseNumber(text.substr(colon + 1), id.hash, 16);
    return valid ? std::optional<ContentId>(id) : std::nullopt;
}

std::optional<FileTime> ParseTime(std::string_view text, bool& valid) {
    valid = true;
    if (text == "-") {
        return std::nullopt;
    }
    FileTime time = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), time);
    valid = !text.empty() && error == std::errc() && end == text.data() + text.size();
    return time;
}

class JournalParser {
public:
    std::optional<RunJournal> Parse(std::string_view text) {
        if (!text.ends_with('\n')) {
            return std::nullopt;
        }
        text.remove_suffix(1);
        std::size_t start = 0;
        std::size_t number = 0;
        bool ended = false;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string_view line = text.substr(start, end - start);
            start = end + 1;
            if (ended || !TakeLine(line, number++, ended)) {
                return std::nullopt;
            }
        }
        if (!ended || !Complete()) {
            return std::nullopt;
        }
        return std::move(journal_);
    }

private:
    bool TakeLine(std::string_view line, std::size_t number, bool& ended) {
        if (number == 0) {
            version_ = line == VersionLine ? 2 : line == FirstVersionLine ? 1 : 0;
            return version_ != 0;
        }
        if (line == "end") {
            ended = true;
            return true;
        }
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            // Only what FormatJournal writes is taken back.
            std::optional<std::string> field =
                UnescapeField(line.substr(start, tab == std::string_view::npos ? tab : tab - start),
                              FieldReading::Strict);
            if (!field) {
                return false;
            }
            fields.push_back(std::move(*field));
            if (tab == std::string_view::npos) {
                break;
            }
            start = tab + 1;
        }
        return TakeRecord(fields);
    }

    bool TakeRecord(const std::vector<std::string>& f) {
        const std::string& kind = f.front();
        if (kind == "folder" && f.size() == 2 && !seen_.folder) {
            seen_.folder = true;
            journal_.folder = f[1];
            return IsFolderPath(f[1]);
        }
        if (kind == "strategy" && f.size() == 2 && !seen_.strategy) {
            seen_.strategy = true;
            const std::optional<PlayerType> type =
                f[1].size() == 1 ? PlayerTypeFromNumber(f[1][0] - '0') : std::nullopt;
            if (!type) {
                return false;
            }
            journal_.strategy = *type;
            return true;
        }
        if ((kind == "only83" || kind == "undo") && f.size() == 2) {
            bool& seen = kind == "only83" ? seen_.only83 : seen_.undo;
            const std::optional<bool> flag = ParseFlag(f[1]);
            if (seen || !flag) {
                return false;
            }
            seen = true;
            (kind == "only83" ? journal_.only83FileNames : journal_.undoRun) = *flag;
            return true;
        }
        if (kind == "state" && f.size() == 2 && !seen_.state) {
            seen_.state = true;
            for (const JournalState state : {JournalState::Running, JournalState::SecondPass,
                                             JournalState::Done, JournalState::Recovering}) {
                if (f[1] == StateWord(state)) {
                    journal_.state = state;
                    return true;
                }
            }
            return false;
        }
        if (kind == "before" && f.size() == 2) {
            journal_.before.push_back(f[1]);
            return true;
        }
        if (kind == "other" && f.size() == 2) {
            journal_.others.push_back(f[1]);
            return IsBareName(f[1]);
        }
        if (kind == "volume" && f.size() == 3 && version_ >= 2 && !seen_.volume) {
            seen_.volume = true;
            journal_.volume = f[1];
            journal_.belowRoot = f[2];
            return !f[1].empty() && IsFolderPath(f[2]);
        }
        if (kind == "track" && f.size() == (version_ >= 2 ? 5u : 4u)) {
            bool validTime = false;
            bool validContent = version_ < 2;
            std::optional<ContentId> content;
            if (version_ >= 2) {
                content = ParseContent(f[4], validContent);
            }
            journal_.arranged.push_back({f[1], f[2], ParseTime(f[3], validTime), content});
            return validTime && validContent && IsBareName(f[2]);
        }
        if (kind == "recreate" && f.size() == 4) {
            bool valid = false;
            const std::optional<FileTime> size = ParseTime(f[3], valid);
            const std::size_t index = journal_.recreated.size();
            journal_.recreated.push_back({f[1], f[2], size.value_or(0)});
            return valid && size && f[1] == CopyName(index) && f[2] == TemporaryName(index);
        }
        if (kind == "rename" && f.size() == 5) {
            const std::optional<bool> atTemporary = ParseFlag(f[4]);
            journal_.renames.push_back({f[1], f[2], f[3], atTemporary.value_or(false)});
            return atTemporary && IsBareName(f[1]) && IsBareName(f[3]) &&
                   f[2] == TemporaryName(journal_.renames.size() - 1);
        }
        return false;
    }

    bool Complete() const {
        if (!seen_.folder || !seen_.strategy || !seen_.only83 || !seen_.undo || !seen_.state) {
            return false;
        }
        const std::size_t count = journal_.arranged.size();
        const bool byName = journal_.strategy == PlayerType::FileNames;
        const bool byTime = journal_.strategy == PlayerType::CreationTimes;
        return journal_.before.size() == count && journal_.renames.size() == (byName ? count : 0) &&
               (journal_.recreated.empty() || (byTime && journal_.recreated.size() == count)) &&
               (journal_.strategy == PlayerType::DirectoryOrder || journal_.others.empty()) &&
               (byName || journal_.state != JournalState::SecondPass);
    }

    struct Seen {
        bool volume = false;
        bool folder = false;
        bool strategy = false;
        bool only83 = false;
        bool undo = false;
        bool state = false;
    };
    Seen seen_;
    int version_ = 0;
    RunJournal journal_;
};

} // namespace

bool IsTempFolderNameInAnyCase(std::string_view name) {
    return EqualsIgnoringCase(name, FirstTempFolder) || EqualsIgnoringCase(name, SecondTempFolder);
}

std::string TemporaryName(std::size_t index) {
    return std::to_string(index) + std::string(TemporarySuffix);
}

bool IsTemporaryName(std::string_view name) {
    return IsNumberedName(name, TemporarySuffix);
}

std::string CopyName(std::size_t index) {
    return std::to_string(index) + std::string(CopySuffix);
}

bool IsCopyName(std::string_view name) {
    return IsNumberedName(name, CopySuffix);
}

std::string FormatJournal(const RunJournal& journal) {
    std::string text(VersionLine);
    text += '\n';
    AppendEscapedLine(text, {"folder", journal.folder});
    if (!journal.volume.empty()) {
        AppendEscapedLine(text, {"volume", journal.volume, journal.belowRoot});
    }
    AppendEscapedLine(text, {"strategy", std::to_string(PlayerTypeNumber(journal.strategy))});
    AppendEscapedLine(text, {"only83", journal.only83FileNames ? "1" : "0"});
    AppendEscapedLine(text, {"undo", journal.undoRun ? "1" : "0"});
    AppendEscapedLine(text, {"state", StateWord(journal.state)});
    for (const std::string& display : journal.before) {
        AppendEscapedLine(text, {"before", display});
    }
    for (const JournalTrack& track : journal.arranged) {
        AppendEscapedLine(text, {"track", track.display, track.name,
                                 track.creationTime ? std::to_string(*track.creationTime) : "-",
                                 FormatContent(track.content)});
    }
    for (const std::string& name : journal.others) {
        AppendEscapedLine(text, {"other", name});
    }
    for (const JournalRename& rename : journal.renames) {
        AppendEscapedLine(text, {"rename", rename.from, rename.temporary, rename.to,
                                 rename.atTemporary ? "1" : "0"});
    }
    for (const JournalRecreate& recreate : journal.recreated) {
        AppendEscapedLine(
            text, {"recreate", recreate.copy, recreate.backup, std::to_string(recreate.size)});
    }
    text += "end\n";
    return text;
}

std::optional<RunJournal> ParseJournal(std::string_view text) {
    return JournalParser().Parse(text);
}

} // namespace tralvo
