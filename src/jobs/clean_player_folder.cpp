#include "jobs/clean_player_folder.h"

#include "arrange/player_junk.h"
#include "i18n/language_catalogue.h"
#include "platform/text.h"

#include <cstdint>

namespace tralvo::jobs {

namespace {

// A Mac leaves a companion beside every track: the question names the first few only.
constexpr std::size_t NamesShown = 10;

std::string NameList(const std::vector<JunkEntry>& junk) {
    std::string names;
    for (std::size_t i = 0; i < junk.size() && i < NamesShown; ++i) {
        names += (i == 0 ? "" : "\n") + junk[i].name + (junk[i].isFolder ? "/" : "");
    }
    if (junk.size() > NamesShown) {
        names += "\n" + ReplaceAll(GetLangString("MoreJunk"), "%0",
                                   std::to_string(junk.size() - NamesShown));
    }
    return names;
}

// Whole kilobytes, rounded up: a few bytes of junk are not "0 KB".
std::uint64_t KilobytesOf(std::uint64_t bytes) {
    return bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
}

MessageRequest Question(const std::vector<JunkEntry>& junk, const std::string& parent) {
    MessageRequest request = CatalogueMessage(parent, "CleanFolderTitle", "CleanFolder",
                                              MessageIcon::Question, MessageButtons::YesNo);
    // The size first: a name put in place may hold "%1" itself.
    request.text = ReplaceAll(request.text, "%1", std::to_string(KilobytesOf(TotalSize(junk))));
    request.argument = NameList(junk);
    request.text = ReplaceAll(request.text, "%0", request.argument);
    return request;
}

MessageRequest Failure(const JunkKept& kept, const std::string& parent) {
    if (kept.reason == JunkKept::Reason::Changed) {
        return ErrorMessage(parent, "CleanChanged", kept.name);
    }
    MessageRequest request = ErrorMessage(parent, "CleanError", kept.name);
    request.reason = kept.status.message();
    return request;
}

} // namespace

bool CleanPlayerFolder(const std::string& folder, FileSystem& fs, Messages& messages,
                       const std::string& parent) {
    const std::vector<JunkEntry> junk = FindPlayerJunk(folder, fs);
    if (junk.empty()) {
        messages.Show(CatalogueMessage(parent, "CleanFolderTitle", "NoJunk",
                                       MessageIcon::Information, MessageButtons::Ok));
        return false;
    }
    if (messages.Show(Question(junk, parent)) != MessageAnswer::Yes) {
        return false;
    }
    const JunkRemoval removal = RemovePlayerJunk(folder, junk, fs);
    for (const JunkKept& kept : removal.kept) {
        messages.Show(Failure(kept, parent));
    }
    return !removal.removed.empty();
}

std::string JunkNote(const std::string& folder, FileSystem& fs) {
    return !folder.empty() && HoldsPlayerJunk(folder, fs) ? GetLangString("JunkNote")
                                                          : std::string();
}

} // namespace tralvo::jobs
