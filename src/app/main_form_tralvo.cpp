// The Tralvo command: the player folder rewritten so that the player plays the list's order.
#include "app/main_form.h"
#include "jobs/message_box_observer.h"
#include "jobs/messages.h"
#include "jobs/run_failure_messages.h"
#include "settings/settings_store.h"
#include "arrange/strategies.h"
#include "arrange/track_loading.h"
#include "arrange/undo.h"
#include "jobs/arrange_folder.h"
#include "jobs/order_check.h"
#include "jobs/undo_last_run.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/track_list_model.h"
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

// The window during a job on the player folder: playback stopped, the progress bar in the
// buttons' place, painted once, then nothing handled but the run's own boxes. When the job
// changed the folder, the list it read back is shown, and then afterShown tells what is left
// to tell.
void TMainForm::RunOnPlayerFolder(
    const std::function<jobs::JobOutcome(const std::string& folder, ArrangeRun& run)>& job,
    const std::function<void(const jobs::JobOutcome& outcome, RunObserver& observer)>& afterShown) {
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
    jobs::JobOutcome outcome;
    {
        // No events are handled during the run, so the window cannot be closed then; a
        // logout's or a terminal's signal stops the run at its next safe point instead.
        const StopSignalsDuringRun stopSignals;
        outcome = job(folder, run);
    }

    SetTracksChanged(false);
    for (QPushButton* button : {TralvoBtn, ExitBtn}) {
        button->show();
        button->setEnabled(true);
    }
    ProgressPB->hide();
    QApplication::restoreOverrideCursor();
    if (!outcome.changed) {
        // Nothing was touched (the journal could not be written): the arranged order stays.
        SetTracksChanged(wasChanged);
        return;
    }
    ShowTrackList(std::move(outcome.reloaded.tracks));
    afterShown(outcome, observer);
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
    if (Settings.PlayerType == PlayerType::CreationTimes && !fs_.SetsCreationTimes()) {
        std::vector<std::string> names;
        for (const TrackEntry& track : TracksModel->Tracks()) {
            names.push_back(track.display);
        }
        if (!RecreationAccepted(names)) {
            return;
        }
    }
    RunOnPlayerFolder(
        [this](const std::string& folder, ArrangeRun& run) {
            return jobs::ArrangeFolder(folder, Settings.Order(), TracksModel->Tracks(), run);
        },
        // The list is shown as read back before a box says that its order is not the one made.
        [](const jobs::JobOutcome& outcome, RunObserver& observer) {
            jobs::TellOrder(outcome, observer);
        });
}

// Ctrl+Z in the track list: the folder back in its order before the last run in it.
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
            jobs::UndoJobOutcome undo = jobs::UndoLastRun(folder, Settings.Order(), run);
            if (undo.outcome == UndoOutcome::NothingToUndo) {
                messages_.Show(NothingToUndoMessage("MainForm"));
            }
            // An undo tells a differing order while the bar still stands, before the list.
            jobs::TellOrder(undo.job, run.observer);
            return std::move(undo.job);
        },
        [](const jobs::JobOutcome&, RunObserver&) {});
}

} // namespace tralvo
