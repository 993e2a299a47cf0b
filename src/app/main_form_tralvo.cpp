// The Tralvo command: the player folder rewritten so that the player plays the list's order.
#include "app/main_form.h"

#include "app/settings_store.h"
#include "arrange/strategies.h"
#include "arrange/track_loading.h"
#include "arrange/tralvo_command.h"
#include "panes/shell_tree.h"
#include "panes/track_list_model.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>

namespace tralvo {

namespace {

// The progress bar in the Tralvo button's place. No events are handled during a run, so the
// bar paints at once.
class ProgressBarProgress : public RunProgress {
public:
    explicit ProgressBarProgress(QProgressBar& bar) : bar_(bar) {}
    void SetMaximum(int maximum) override { bar_.setMaximum(std::max(maximum, 1)); }
    void SetPosition(int position) override {
        bar_.setValue(position);
        bar_.repaint();
    }

private:
    QProgressBar& bar_;
};

} // namespace

void TMainForm::TralvoBtnClick() {
    if (TracksModel->Tracks().empty() || !TracksChanged) {
        return;
    }
    StopBtnClick();
    const std::string folder = FolderWithSlash(MyPlayerST->Path());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (QPushButton* button : {TralvoBtn, ExitBtn}) {
        button->hide();
        button->setEnabled(false);
    }
    ProgressPB->setValue(0);
    ProgressPB->show();
    // Once, so the new state is painted; the run itself lets nothing else through but its
    // error boxes.
    QApplication::processEvents();

    const std::string before = TracksModel->Tracks().Text();
    ProgressBarProgress progress(*ProgressPB);
    ArrangeRun run{fs_, messages_, progress, "MainForm"};
    RunStrategy(Settings.PlayerType, folder, TracksModel->Tracks(), run);

    SetTracksChanged(false);
    for (QPushButton* button : {TralvoBtn, ExitBtn}) {
        button->show();
        button->setEnabled(true);
    }
    ProgressPB->hide();
    QApplication::restoreOverrideCursor();

    LoadTrackList();
    ReportWhenOrderDiffers(before, TracksModel->Tracks(), run);
}

} // namespace tralvo
