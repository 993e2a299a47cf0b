// The Tralvo command: the player folder rewritten so that the player plays the list's order.
#include "app/main_form.h"
#include "app/message_box_observer.h"
#include "app/messages.h"
#include "app/run_failure_messages.h"
#include "app/settings_store.h"
#include "arrange/strategies.h"
#include "arrange/track_loading.h"
#include "arrange/tralvo_command.h"
#include "arrange/tralvo_run.h"
#include "arrange/undo.h"
#include "panes/shell_tree.h"
#include "panes/track_list_model.h"
#include "platform/stop_signals.h"
#include "platform/text.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

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

// The window during a run on the player folder: playback stopped, the progress bar in the
// buttons' place, painted once, then nothing handled but the run's own boxes. work reports
// whether it changed anything; then the list is read back from the folder and afterReload
// checks it.
void TMainForm::RunOnPlayerFolder(
    const std::function<bool(const std::string& folder, ArrangeRun& run)>& work,
    const std::function<void(ArrangeRun& run)>& afterReload) {
    StopBtnClick();
    const std::string folder = FolderWithSlash(MyPlayerST->Path());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (QPushButton* button : {TralvoBtn, ExitBtn}) {
        button->hide();
        button->setEnabled(false);
    }
    ProgressPB->setValue(0);
    ProgressPB->show();
    QApplication::processEvents();

    ProgressBarProgress progress(*ProgressPB);
    MessageBoxObserver observer(messages_, "MainForm");
    ArrangeRun run{fs_, observer, progress};
    const bool wasChanged = TracksChanged;
    bool changed = false;
    {
        // No events are handled during the run, so the window cannot be closed then; a
        // logout's or a terminal's signal stops the run at its next safe point instead.
        const StopSignalsDuringRun stopSignals;
        changed = work(folder, run);
    }

    SetTracksChanged(false);
    for (QPushButton* button : {TralvoBtn, ExitBtn}) {
        button->show();
        button->setEnabled(true);
    }
    ProgressPB->hide();
    QApplication::restoreOverrideCursor();
    if (!changed) {
        // Nothing was touched (the journal could not be written): the arranged order stays.
        SetTracksChanged(wasChanged);
        return;
    }
    LoadTrackList();
    afterReload(run);
    if (RunStopRequested()) {
        // Asked to end while the run went on: the folder is in order, the window may go.
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

// Where creation times cannot be set, the tracks are made anew about two seconds apart: the
// user hears how long that takes before it starts.
bool TMainForm::RecreationAccepted(const std::vector<std::string>& names) {
    const std::string folder = FolderWithSlash(MyPlayerST->Path());
    const std::size_t count = TracksToRecreate(folder, names, fs_, SystemClock());
    if (count == 0) {
        return true;
    }
    MessageRequest question =
        QuestionMessage("MainForm", windowTitle().toStdString(), "RecreateTracks");
    const std::size_t minutes = std::max<std::size_t>(1, (2 * count + 59) / 60);
    question.text = ReplaceAll(ReplaceAll(question.text, "%0", std::to_string(count)), "%1",
                               std::to_string(minutes));
    return messages_.Show(question) == MessageAnswer::Yes;
}

void TMainForm::TralvoBtnClick() {
    if (TracksModel->Tracks().empty() || !TracksChanged) {
        return;
    }
    if (Settings.PlayerType == 2 && !fs_.SetsCreationTimes()) {
        std::vector<std::string> names;
        for (const TrackEntry& track : TracksModel->Tracks()) {
            names.push_back(track.display);
        }
        if (!RecreationAccepted(names)) {
            return;
        }
    }
    const std::string before = TracksModel->Tracks().Text();
    RunOnPlayerFolder(
        [this](const std::string& folder, ArrangeRun& run) {
            return RunTralvoCommand(Settings.PlayerType, Settings.Only83FileNames, folder,
                                    TracksModel->Tracks(), run)
                .Changed();
        },
        [this, &before](ArrangeRun& run) {
            ReportWhenOrderDiffers(before, TracksModel->Tracks(), run);
        });
}

// Ctrl+Z in the track list: the folder back in its order before the last run in it. The undo
// reads the folder back and checks it itself.
void TMainForm::UndoLastRunClick() {
    if (TracksChanged &&
        messages_.Show(QuestionMessage("MainForm", windowTitle().toStdString(),
                                       "RefreshAlthoughChanged")) != MessageAnswer::Yes) {
        return;
    }
    const std::vector<std::string> recreated =
        UndoRecreationOrder(FolderWithSlash(MyPlayerST->Path()));
    if (!recreated.empty() && !fs_.SetsCreationTimes() && !RecreationAccepted(recreated)) {
        return;
    }
    RunOnPlayerFolder(
        [this](const std::string& folder, ArrangeRun& run) {
            const UndoOutcome outcome = UndoLastRun(folder, run);
            if (outcome == UndoOutcome::NothingToUndo) {
                messages_.Show(NothingToUndoMessage("MainForm"));
            }
            return outcome == UndoOutcome::Undone || outcome == UndoOutcome::Failed;
        },
        [](ArrangeRun&) {});
}

} // namespace tralvo
