#include "gui/main_window/arrange_command.h"

#include "arrange/strategies.h"
#include "arrange/undo.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/window_name.h"
#include "jobs/arrange_folder.h"
#include "jobs/message_box_observer.h"
#include "jobs/messages.h"
#include "jobs/order_check.h"
#include "jobs/run_failure_messages.h"
#include "jobs/undo_last_run.h"
#include "platform/paths.h"
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

ArrangeCommand::ArrangeCommand(PlayerPane& pane, Controls controls, Messages& messages,
                               FileSystem& fs, QObject* parent)
    : QObject(parent), pane_(pane), controls_(controls), messages_(messages), fs_(fs) {
    connect(controls_.tralvo, &QPushButton::clicked, this, &ArrangeCommand::Arrange);
    // Only an arranged list has anything to write.
    connect(&pane_, &PlayerPane::ChangedMarked, controls_.tralvo, &QPushButton::setEnabled);
    connect(&pane_, &PlayerPane::UndoRequested, this, &ArrangeCommand::UndoLastRun);
}

std::string ArrangeCommand::Title() const {
    return controls_.tralvo->window()->windowTitle().toStdString();
}

void ArrangeCommand::ShowButtons(bool shown) {
    for (QPushButton* button : {controls_.tralvo, controls_.exit}) {
        button->setVisible(shown);
        button->setEnabled(shown);
    }
    controls_.progress->setVisible(!shown);
}

// The window during a job on the player folder: playback stopped, the progress bar in the
// buttons' place, painted once, then nothing handled but the run's own boxes. When the job
// changed the folder, the list it read back is shown, and then afterShown tells what is left
// to tell.
void ArrangeCommand::RunOnPlayerFolder(const Job& job, const AfterShown& afterShown) {
    emit JobStarting();
    const std::string folder = FolderWithSlash(pane_.Folder());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    controls_.progress->setValue(0);
    ShowButtons(false);
    QApplication::processEvents();

    ProgressBarProgress progress(*controls_.progress);
    MessageBoxObserver observer(messages_, MainWindowName);
    ArrangeRun run{fs_, observer, progress};
    const bool wasChanged = pane_.Changed();
    jobs::JobOutcome outcome;
    {
        // No events are handled during the run, so the window cannot be closed then; a
        // logout's or a terminal's signal stops the run at its next safe point instead.
        const StopSignalsDuringRun stopSignals;
        outcome = job(folder, run);
    }

    pane_.SetChanged(false);
    ShowButtons(true);
    QApplication::restoreOverrideCursor();
    if (!outcome.changed) {
        // Nothing was touched (the journal could not be written): the arranged order stays.
        pane_.SetChanged(wasChanged);
        return;
    }
    pane_.Show(std::move(outcome.reloaded.tracks));
    afterShown(outcome, observer);
    if (RunStopRequested()) {
        // Asked to end while the run went on: the folder is in order, the window may go.
        QWidget* window = controls_.tralvo->window();
        QTimer::singleShot(0, window, &QWidget::close);
    }
}

// Where creation times cannot be set, the tracks are made anew about two seconds apart: the
// user hears how long that takes before it starts.
bool ArrangeCommand::RecreationAccepted(const std::vector<std::string>& names) {
    const std::string folder = FolderWithSlash(pane_.Folder());
    const std::size_t count = TracksToRecreate(folder, names, fs_, SystemClock());
    if (count == 0) {
        return true;
    }
    MessageRequest question = QuestionMessage(MainWindowName, Title(), "RecreateTracks");
    const std::size_t minutes = std::max<std::size_t>(1, (2 * count + 59) / 60);
    question.text = ReplaceAll(ReplaceAll(question.text, "%0", std::to_string(count)), "%1",
                               std::to_string(minutes));
    return messages_.Show(question) == MessageAnswer::Yes;
}

void ArrangeCommand::Arrange() {
    if (pane_.Tracks().empty() || !pane_.Changed()) {
        return;
    }
    if (pane_.Order().type == PlayerType::CreationTimes && !fs_.SetsCreationTimes()) {
        std::vector<std::string> names;
        for (const TrackEntry& track : pane_.Tracks()) {
            names.push_back(track.display);
        }
        if (!RecreationAccepted(names)) {
            return;
        }
    }
    RunOnPlayerFolder(
        [this](const std::string& folder, ArrangeRun& run) {
            return jobs::ArrangeFolder(folder, pane_.Order(), pane_.Tracks(), run);
        },
        // The list is shown as read back before a box says that its order is not the one made.
        [](const jobs::JobOutcome& outcome, RunObserver& observer) {
            jobs::TellOrder(outcome, observer);
        });
}

void ArrangeCommand::UndoLastRun() {
    if (pane_.Changed() &&
        messages_.Show(QuestionMessage(MainWindowName, Title(), "RefreshAlthoughChanged")) !=
            MessageAnswer::Yes) {
        return;
    }
    const std::vector<std::string> recreated = UndoRecreationOrder(FolderWithSlash(pane_.Folder()));
    if (!recreated.empty() && !fs_.SetsCreationTimes() && !RecreationAccepted(recreated)) {
        return;
    }
    RunOnPlayerFolder(
        [this](const std::string& folder, ArrangeRun& run) {
            jobs::UndoJobOutcome undo = jobs::UndoLastRun(folder, pane_.Order(), run);
            if (undo.outcome == UndoOutcome::NothingToUndo) {
                messages_.Show(NothingToUndoMessage(MainWindowName));
            }
            // An undo tells a differing order while the bar still stands, before the list.
            jobs::TellOrder(undo.job, run.observer);
            return std::move(undo.job);
        },
        [](const jobs::JobOutcome&, RunObserver&) {});
}

} // namespace tralvo
