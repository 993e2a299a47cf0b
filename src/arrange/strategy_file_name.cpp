#include "arrange/strategies.h"
#include "arrange/two_pass_rename.h"

namespace tralvo {

void ArrangeByFileName(const std::string& folder, const TrackList& tracks, ArrangeRun& run) {
    RenameInTwoPasses(folder, FileNameRenames(tracks), run);
}

} // namespace tralvo
