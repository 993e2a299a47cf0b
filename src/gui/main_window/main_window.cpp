#include "gui/main_window/main_window.h"

#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "gui/main_window/arrange_command.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"
#include "gui/main_window/transfer_commands.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/wait_cursor.h"
#include "gui/termination.h"
#include "gui/widgets/anchored_panel.h"
#include "gui/widgets/apply_language.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/drives.h"
#include "playback/engine_version.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <cstdlib>

namespace tralvo {

namespace {

// Assistive technology is told that the main window is a window (a frame), not a plain
// widget, which it would report as a filler.
QAccessibleInterface* MainWindowAccessible(const QString& /*className*/, QObject* object) {
    if (auto* window = qobject_cast<MainWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

MainWindow::MainWindow(GuiSettings& settings, Messages& messages, FileSystem& fs)
    : settings_(settings), messages_(messages), fs_(fs),
      findPlayerVolume_(SystemPlayerVolumeFinder(fs)) {
    static const bool accessibleAsWindow = [] {
        QAccessible::installFactory(MainWindowAccessible);
        return true;
    }();
    static_cast<void>(accessibleAsWindow);
    setObjectName(QString::fromLatin1(MainWindowName));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    SetTag(*this, -1);
    BuildControls();
    ConnectHandlers();
    FormCreate();
}

MainWindow::~MainWindow() {
    FormDestroy();
}

void MainWindow::FormCreate() {
    // The two big buttons at the right edge, the player panel stretched up to them.
    const int clientWidth = bottomPanel_->width();
    const int margin = bottomPanel_->DesignRect(playerPanel_).left();
    for (QWidget* button :
         {static_cast<QWidget*>(tralvoButton_), static_cast<QWidget*>(exitButton_)}) {
        const QRect rect = bottomPanel_->DesignRect(button);
        bottomPanel_->Move(
            button, {clientWidth - rect.width() - margin, rect.top(), rect.width(), rect.height()});
    }
    const QRect player = bottomPanel_->DesignRect(playerPanel_);
    bottomPanel_->Move(playerPanel_,
                       {player.left(), player.top(),
                        bottomPanel_->DesignRect(tralvoButton_).left() - 16 - player.left(),
                        player.height()});

    // The player pane's tool bar, on one row, sets the window's width.
    QWidget* toolbar = playerPane_->Toolbar();
    const int toolbarRight = toolbar->sizeHint().width();
    const int width = computerPane_->minimumWidth() + splitter_->handleWidth() +
                      toolbar->parentWidget()->layout()->contentsMargins().left() + toolbarRight +
                      12;
    resize(width, height());
    layout()->activate();
    bottomPanel_->resize(width, bottomPanel_->height());

    // The splitter never makes the computer pane narrower than its design width.
    computerPane_->setMinimumWidth(computerPane_->minimumWidth());

    // Fixed English texts: without a catalogue nothing else could be read.
    if (!LanguageFileFound()) {
        ShowFatal("Fatal Error: No language pack found!");
    }
    if (!playback::HasExpectedVersion()) {
        ShowFatal("Fatal Error: The audio engine has an unknown version number! Please make sure "
                  "that you are using the version that came with Tralvo!");
    }

    ApplyLanguage(*this, "TMainForm");
    // Laid out after the texts, from the right, so a long volume label shortens the bar.
    playerPanel_->LayOut();

    // The design height, and the width the tool bar gave, are the least the window may have.
    setMinimumSize(size());

    RestoreWindowState();
    // The volume bar shows the engine's volume.
    playerPanel_->Bind(*player_);
}

void MainWindow::ShowFatal(const char* text) {
    MessageRequest request;
    request.parent = MainWindowName;
    request.caption = "Fatal Error";
    request.text = text;
    request.icon = MessageIcon::Error;
    request.buttons = MessageButtons::Ok;
    messages_.Show(request);
    RequestTermination();
}

void MainWindow::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    // The preview player stops and lets the engine go when it goes with the window.
    SaveWindowState();
}

void MainWindow::ConnectHandlers() {
    // The computer tree leaves the player's folder out: another player shows there again.
    connect(playerPane_, &PlayerPane::PlayerRootChanged, computerPane_, &ComputerPane::RefreshTree);
    connect(computerPane_, &ComputerPane::SettingsRequested, this, [this] { RunSettingsDialog(); });
    connect(computerPane_, &ComputerPane::HelpRequested, this, [this] { HelpBtnClick(this); });
    connect(computerPane_, &ComputerPane::AboutRequested, this, &MainWindow::AboutBtnClick);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    arrange_ = new ArrangeCommand(*playerPane_, {tralvoButton_, exitButton_, progressBar_},
                                  messages_, fs_, this);
    connect(arrange_, &ArrangeCommand::JobStarting, player_, &PreviewPlayer::Stop);
    ConnectPlayer();
    transfers_ =
        new TransferCommands(*this, *computerPane_, *playerPane_, *player_, messages_, fs_);
    ConnectProperties();
    ConnectPlayerVolumes();
}

void MainWindow::SetShellFileOperation(ShellFileOperation* shell) {
    transfers_->SetShellFileOperation(shell);
}

std::string MainWindow::GetPlayerRoot() {
    return PlayerRootFor(settings_.Get().PlayerDrive, fs_);
}

bool MainWindow::StartupCheck(bool forceFirstRun) {
    const bool first = settings_.Get().FirstRun || forceFirstRun;
    bool result = true;
    if (first) {
        messages_.Show(CatalogueMessage(MainWindowName, "FirstRun", "FirstRunMsg",
                                        MessageIcon::Information, MessageButtons::Ok));
        result = RunSettingsDialog(true);
    } else if (!fs_.FolderExists(GetPlayerRoot())) {
        const MessageAnswer answer =
            messages_.Show(CatalogueMessage(MainWindowName, "PlayerDriveNA", "PlayerDriveNAMsg",
                                            MessageIcon::Warning, MessageButtons::OkCancel));
        if (answer != MessageAnswer::Ok || TerminationRequested()) {
            result = false;
        } else if (fs_.FolderExists(GetPlayerRoot())) {
            playerPane_->RefreshTree();
        } else {
            result = RunSettingsDialog();
        }
    }
    if (result) {
        show();
        playerPane_->SetRootDir(GetPlayerRoot());
    }
    return result;
}

bool MainWindow::RunSettingsDialog(bool firstRun) {
    if (TerminationRequested()) {
        return false;
    }
    SettingsDialog* dialog = settingsForm_.Get();
    if (dialog != nullptr && firstRun) {
        dialog->OfferMountedPlayer();
    }
    if (dialog != nullptr) {
        // The folder shown now is the last one of the player the dialog may leave.
        settings_.Kept().Window.LastMyPlayerPath = playerPane_->Folder();
    }
    if (dialog == nullptr || dialog->exec() != QDialog::Accepted || TerminationRequested()) {
        return false;
    }
    // The panes followed the settings as the dialog applied them; what they cannot follow
    // takes a new start.
    const UserSettings& settings = settings_.Get();
    if (GetCurrentLanguage() != settings.Language ||
        settings.LargeFileIconsAtStart != settings.LargeFileIcons) {
        messages_.Show(CatalogueMessage(MainWindowName, "AppearanceNeedRestart",
                                        "AppearanceNeedRestartMsg", MessageIcon::Information,
                                        MessageButtons::Ok));
    }
    return true;
}

void MainWindow::BringToFront() {
    // Before StartupCheck shows this window, the first-run or settings dialog is what the user
    // is to see.
    QWidget* window = isVisible() ? this : QApplication::activeModalWidget();
    if (window == nullptr) {
        return;
    }
    if (window->isMinimized()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (playerPane_->Changed() &&
        messages_.Show(QuestionMessage(MainWindowName, ApplicationTitle, "ExitAlthoughChanged")) !=
            MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // The window's default and cancel buttons: Enter arranges the folder (the Tralvo button),
    // Escape ends.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (tralvoButton_->isVisible() && tralvoButton_->isEnabled()) {
            tralvoButton_->click();
        }
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        if (exitButton_->isVisible() && exitButton_->isEnabled()) {
            exitButton_->click();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        WaitCursor::ProgramOnScreen();
        // The start-up benchmark measures up to the first paint of this window: the process
        // ends as soon as the paint is through, without its tidying up.
        if (std::getenv("TRALVO_EXIT_AFTER_FIRST_PAINT") != nullptr) {
            QTimer::singleShot(0, this, [] { std::_Exit(0); });
        }
    }
}

} // namespace tralvo
