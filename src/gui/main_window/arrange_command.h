#pragma once

#include "jobs/job_outcome.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QProgressBar;
class QPushButton;

namespace tralvo {

class FileSystem;
class Messages;
class PlayerPane;
struct ArrangeRun;

// The Tralvo button and Ctrl+Z: the player folder rewritten to the list's order, or put back
// as it was before the last run in it. While a job runs, the progress bar stands in the
// buttons' place and nothing else is handled; the list read back afterwards is shown.
class ArrangeCommand : public QObject {
    Q_OBJECT
public:
    // The bottom buttons the progress bar stands in for during a job.
    struct Controls {
        QPushButton* tralvo;
        QPushButton* exit;
        QProgressBar* progress;
    };

    ArrangeCommand(PlayerPane& pane, Controls controls, Messages& messages, FileSystem& fs,
                   QObject* parent = nullptr);

    // The Tralvo button's command: the folder arranged as the list shows it.
    void Arrange();
    // Ctrl+Z's command: the folder back in its order before the last run in it.
    void UndoLastRun();

signals:
    // A job is about to change the folder's files: nothing may play from them.
    void JobStarting();

private:
    using Job = std::function<jobs::JobOutcome(const std::string& folder, ArrangeRun& run)>;
    using AfterShown = std::function<void(const jobs::JobOutcome& outcome, RunObserver& observer)>;
    void RunOnPlayerFolder(const Job& job, const AfterShown& afterShown);
    void ShowButtons(bool shown);
    // False when the user does not want to wait for the tracks of names to be made anew.
    bool RecreationAccepted(const std::vector<std::string>& names);
    std::string Title() const;

    PlayerPane& pane_;
    Controls controls_;
    Messages& messages_;
    FileSystem& fs_;
};

} // namespace tralvo
