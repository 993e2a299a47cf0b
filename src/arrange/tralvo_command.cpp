#include "arrange/tralvo_command.h"

#include "app/messages.h"

namespace tralvo {

bool ReportWhenOrderDiffers(const std::string& before, const TrackList& reloaded, ArrangeRun& run) {
    // A run that stopped early has said what became of the folder already.
    if (reloaded.Text() == before || run.stoppedEarly) {
        return false;
    }
    run.messages.Show(ErrorMessage(run.parent, "TralvoFailed"));
    return true;
}

} // namespace tralvo
