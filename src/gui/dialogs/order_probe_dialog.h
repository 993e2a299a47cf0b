#pragma once

#include "arrange/player_type.h"
#include "jobs/order_probe_job.h"
#include "platform/status.h"

#include <QDialog>
#include <QFutureWatcher>
#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace tralvo {

class Messages;
class MultiLineRadioButton;

// The guided order probe: writes the probe folder to a player off the GUI thread, asks which
// word the player played first, and removes the folder again however the dialog is left.
class OrderProbeDialog : public QDialog {
    Q_OBJECT
public:
    OrderProbeDialog(jobs::OrderProbeOperations operations, Messages& messages,
                     QWidget* parent = nullptr);
    ~OrderProbeDialog() override;

    // Shows the dialog for the player whose root folder is given and returns once it is
    // closed: the type of a player that played the word chosen first; nothing when the user
    // cancelled or could not tell.
    std::optional<PlayerType> Run(const std::string& root);

    // While the probe is written the dialog cannot be closed.
    bool Writing() const { return writingNow_; }

public slots:
    void WriteBtnClick();
    void OKBtnClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void LayOut();
    void ShowPage(QWidget* page);
    void WriteFinished();
    void RemoveProbe();
    bool Answered() const;
    std::optional<PlayerType> Chosen() const;

    jobs::OrderProbeOperations operations_;
    Messages& messages_;
    std::string root_;
    bool writingNow_ = false;
    bool written_ = false;
    std::optional<PlayerType> result_;
    QFutureWatcher<Status> writing_;

    QStackedWidget* PagesSW = nullptr;
    QWidget* IntroPage = nullptr;
    QLabel* IntroLbl = nullptr;
    QPushButton* WriteBtn = nullptr;
    QWidget* WritingPage = nullptr;
    QLabel* WritingLbl = nullptr;
    QProgressBar* WritingPB = nullptr;
    QWidget* QuestionPage = nullptr;
    QLabel* QuestionLbl = nullptr;
    MultiLineRadioButton* OneRB = nullptr;
    MultiLineRadioButton* TwoRB = nullptr;
    MultiLineRadioButton* ThreeRB = nullptr;
    MultiLineRadioButton* NoneRB = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace tralvo
