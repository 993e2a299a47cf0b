// The player pane's track list.
#include "app/main_form.h"
#include "panes/file_list_model.h"

namespace tralvo {

void TMainForm::LoadTrackList() {
    TracksModel->SetNames({});
}

} // namespace tralvo
