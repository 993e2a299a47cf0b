#pragma once

#include "arrange/loaded_folder.h"
#include "arrange/run_report.h"

namespace tralvo::jobs {

// What a job on a player folder gives back to the face that ran it.
struct JobOutcome {
    // Every failure of the job, a differing order included, and how the run ended.
    RunReport report;
    // Whether the job reached the folder; when not, nothing in it changed.
    bool changed = false;
    // The folder read back once after the job, under the order the face shows.
    LoadedFolder reloaded;
    // False when, read back, the player does not play the order the job made. The observer
    // has not been told yet: a face tells it by TellOrder once it shows the reloaded list.
    bool orderMatches = true;
};

} // namespace tralvo::jobs
