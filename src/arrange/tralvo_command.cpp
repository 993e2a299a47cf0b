#include "arrange/tralvo_command.h"

#include "app/messages.h"

namespace tralvo {

bool ReportWhenOrderDiffers(const std::string& before, const TrackList& reloaded, ArrangeRun& run) {
    if (reloaded.Text() == before) {
        return false;
    }
    run.messages.Show(ErrorMessage(run.parent, "TralvoFailed"));
    return true;
}

} // namespace tralvo
