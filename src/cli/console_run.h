#pragma once

#include "arrange/strategies.h"
#include "cli/cli_console_messages.h"
#include "cli/cli_tracks.h"
#include "jobs/message_box_observer.h"
#include "platform/stop_signals.h"

#include <string>
#include <utility>

namespace tralvo::cli {

// What a command that changes a player folder runs with: the catalogue's English for its
// boxes, each box an "Error:" line, a progress line on the terminal and the tool's file
// system. The catalogue is closed again when it ends.
class ConsoleRun {
public:
    ConsoleRun();
    ~ConsoleRun();
    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;

    // job(run), with a signal stopping it at its next safe point instead of ending the tool;
    // the progress line is wiped afterwards.
    template <class Job>
    auto Run(Job&& job) {
        struct Wipe {
            TerminalProgress& progress;
            ~Wipe() { progress.Wipe(); }
        } wipe{progress};
        const StopSignalsDuringRun stopSignals;
        return std::forward<Job>(job)(run);
    }

    ConsoleMessages messages;
    MessageBoxObserver observer{messages, ""};
    TerminalProgress progress;
    ArrangeRun run;
};

// What the Tralvo button does once the list is arranged: the job on folder with its journal,
// then the list read back and printed, and whether its order is the arranged one. True when it
// is and no step failed.
bool ArrangeAndTell(const TrackList& tracks, const std::string& folder,
                    const ListingOptions& listing);

} // namespace tralvo::cli
