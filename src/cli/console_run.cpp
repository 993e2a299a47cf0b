#include "cli/console_run.h"

#include "cli/cli_file_system.h"
#include "i18n/language_catalogue.h"
#include "jobs/arrange_folder.h"
#include "jobs/order_check.h"

namespace tralvo::cli {

ConsoleRun::ConsoleRun() : run{ToolFileSystem(), observer, progress} {
    OpenLanguageCatalogue();
    UseEnglish(Catalogue());
}

ConsoleRun::~ConsoleRun() {
    CloseLanguageCatalogue();
}

bool ArrangeAndTell(const TrackList& tracks, const std::string& folder,
                    const ListingOptions& listing) {
    ConsoleRun console;
    const jobs::JobOutcome outcome = console.Run(
        [&](ArrangeRun& run) { return jobs::ArrangeFolder(folder, listing, tracks, run); });
    PrintTrackList(outcome.reloaded.tracks);
    jobs::TellOrder(outcome, console.observer);
    return console.messages.shown() == 0 && !SayWhenInterrupted(console.messages);
}

} // namespace tralvo::cli
