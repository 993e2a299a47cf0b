#include "app/main_form.h"

#include "gui/widgets/anchored_panel.h"
#include "gui/widgets/apply_language.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "gui/dialogs/settings_form.h"
#include "settings/settings_store.h"
#include "gui/termination.h"
#include "settings/window_state.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/wait_cursor.h"
#include "platform/drives.h"
#include "platform/mount_table.h"
#include "playback/engine_version.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

namespace tralvo {

namespace {

constexpr const char* MainFormName = "MainForm";
constexpr const char* ApplicationTitle = "Tralvo!";

// Whether path is the root folder or lies below it. Paths compare exactly: on this system
// "/media/Player" and "/media/player" may be two volumes.
bool LiesBelow(const std::string& root, const std::string& path) {
    return FolderWithSlash(path).starts_with(FolderWithSlash(root));
}

bool SameFolder(const std::string& a, const std::string& b) {
    return FolderWithSlash(a) == FolderWithSlash(b);
}

// Assistive technology is told that the main window is a window (a frame), not a plain
// widget, which it would report as a filler.
QAccessibleInterface* MainWindowAccessible(const QString& /*className*/, QObject* object) {
    if (auto* window = qobject_cast<TMainForm*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

TMainForm::TMainForm(Messages& messages, FileSystem& fs) : messages_(messages), fs_(fs) {
    static const bool accessibleAsWindow = [] {
        QAccessible::installFactory(MainWindowAccessible);
        return true;
    }();
    static_cast<void>(accessibleAsWindow);
    setObjectName(QString::fromLatin1(MainFormName));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    SetTag(*this, -1);
    BuildControls();
    ConnectHandlers();
    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormCreate() {
    // The fields of the other parts of the window.
    TracksChanged = false;
    DragStartIndex = -1;
    DragCurrentIndex = -1;
    TrackListFolder.clear();
    SkipFolderConfirm = false;

    // The two big buttons at the right edge, the player panel stretched up to them.
    const int clientWidth = BottomPanel->width();
    const int margin = BottomPanel->DesignRect(playerPanel_).left();
    for (QWidget* button : {static_cast<QWidget*>(TralvoBtn), static_cast<QWidget*>(ExitBtn)}) {
        const QRect rect = BottomPanel->DesignRect(button);
        BottomPanel->Move(
            button, {clientWidth - rect.width() - margin, rect.top(), rect.width(), rect.height()});
    }
    const QRect player = BottomPanel->DesignRect(playerPanel_);
    BottomPanel->Move(playerPanel_, {player.left(), player.top(),
                                     BottomPanel->DesignRect(TralvoBtn).left() - 16 - player.left(),
                                     player.height()});

    // The player pane's tool bar, on one row, sets the window's width.
    const int toolbarRight = MyPlayerToolbar->sizeHint().width();
    const int width = computerPane_->minimumWidth() + ClientSplitter->handleWidth() +
                      MyPlayerToolbar->parentWidget()->layout()->contentsMargins().left() +
                      toolbarRight + 12;
    resize(width, height());
    layout()->activate();
    BottomPanel->resize(width, BottomPanel->height());

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

void TMainForm::ShowFatal(const char* text) {
    MessageRequest request;
    request.parent = MainFormName;
    request.caption = "Fatal Error";
    request.text = text;
    request.icon = MessageIcon::Error;
    request.buttons = MessageButtons::Ok;
    messages_.Show(request);
    RequestTermination();
}

void TMainForm::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    // The preview player stops and lets the engine go when it goes with the window.
    SaveWindowState();
}

void TMainForm::ConnectHandlers() {
    connect(computerPane_, &ComputerPane::SettingsRequested, this, &TMainForm::SettingsBtnClick);
    connect(computerPane_, &ComputerPane::HelpRequested, this, [this] { HelpBtnClick(this); });
    connect(computerPane_, &ComputerPane::AboutRequested, this, &TMainForm::AboutBtnClick);
    connect(ExitBtn, &QPushButton::clicked, this, &TMainForm::ExitBtnClick);
    MyPlayerST->SetRootDir("/");
    connect(MyPlayerST, &TShellTree::Change, this, &TMainForm::MyPlayerSTChange);
    connect(MyPlayerRefreshBtn, &QToolButton::clicked, this, &TMainForm::MyPlayerRefreshBtnClick);
    connect(SortBtn, &QToolButton::clicked, this, &TMainForm::SortBtnClick);
    connect(ReverseSortBtn, &QToolButton::clicked, this, &TMainForm::ReverseSortBtnClick);
    connect(ShuffleBtn, &QToolButton::clicked, this, &TMainForm::ShuffleBtnClick);
    connect(TralvoBtn, &QPushButton::clicked, this, &TMainForm::TralvoBtnClick);
    ConnectPlayer();
    ConnectTransfers();
    ConnectProperties();
    ConnectEditing();
}

std::string TMainForm::GetPlayerRoot() {
    return PlayerRootFor(Settings.PlayerDrive, fs_);
}

bool TMainForm::StartupCheck(bool forceFirstRun) {
    const bool first = Settings.FirstRun || forceFirstRun;
    bool result = true;
    if (first) {
        messages_.Show(CatalogueMessage(MainFormName, "FirstRun", "FirstRunMsg",
                                        MessageIcon::Information, MessageButtons::Ok));
        result = RunSettingsDialog();
    } else if (!fs_.FolderExists(GetPlayerRoot())) {
        const MessageAnswer answer =
            messages_.Show(CatalogueMessage(MainFormName, "PlayerDriveNA", "PlayerDriveNAMsg",
                                            MessageIcon::Warning, MessageButtons::OkCancel));
        if (answer != MessageAnswer::Ok || TerminationRequested()) {
            result = false;
        } else if (fs_.FolderExists(GetPlayerRoot())) {
            MyPlayerST->Refresh();
        } else {
            result = RunSettingsDialog();
        }
    }
    if (result) {
        show();
        MyPlayerST->SetRootDir(GetPlayerRoot());
    }
    return result;
}

bool TMainForm::RunSettingsDialog() {
    const PlayerOrder order = Settings.Order();
    if (TerminationRequested()) {
        return false;
    }
    TSettingsForm* settings = settingsForm_.Get();
    if (settings == nullptr || settings->exec() != QDialog::Accepted || TerminationRequested()) {
        return false;
    }
    // The player root is a volume's mount point or a folder: comparing whole roots tells a
    // new player apart also where two player folders lie on one volume.
    if (!SameFolder(MyPlayerST->RootDir(), GetPlayerRoot())) {
        SkipFolderConfirm = true;
        MyPlayerST->SetRootDir(GetPlayerRoot());
        computerPane_->RefreshTree();
    }
    if (Settings.Order() != order) {
        LoadTrackList();
    }
    if (GetCurrentLanguage() != Settings.Language ||
        Settings.LargeFileIconsAtStart != Settings.LargeFileIcons) {
        messages_.Show(CatalogueMessage(MainFormName, "AppearanceNeedRestart",
                                        "AppearanceNeedRestartMsg", MessageIcon::Information,
                                        MessageButtons::Ok));
    }
    return true;
}

void TMainForm::RestoreWindowState() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    const TConfigWindow& stored = Settings.Window;
    const WindowGeometry geometry =
        RestoredGeometry(stored, width(), height(), screenSize.width(), screenSize.height());
    resize(geometry.width, geometry.height);
    move(geometry.left, geometry.top);
    if (stored.WindowMaximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (stored.SplitterPos != -1) {
        const int total = ClientSplitter->width() - ClientSplitter->handleWidth();
        ClientSplitter->setSizes({stored.SplitterPos, std::max(total - stored.SplitterPos, 1)});
    }
    if (fs_.FolderExists(stored.LastMyComputerPath)) {
        computerPane_->ShowFolder(stored.LastMyComputerPath);
    }
    if (fs_.FolderExists(stored.LastMyPlayerPath) &&
        LiesBelow(GetPlayerRoot(), stored.LastMyPlayerPath)) {
        MyPlayerST->SetPath(stored.LastMyPlayerPath);
    }
}

void TMainForm::SaveWindowState() {
    TConfigWindow& stored = Settings.Window;
    stored.SplitterPos = ClientSplitter->sizes().value(0, computerPane_->width());
    stored.WindowMaximized = isMaximized();
    if (!stored.WindowMaximized) {
        stored.WindowWidth = width();
        stored.WindowHeight = height();
        stored.WindowLeft = x();
        stored.WindowTop = y();
    }
    stored.LastMyComputerPath = computerPane_->Folder();
    stored.LastMyPlayerPath = MyPlayerST->Path();
}

void TMainForm::BringToFront() {
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

void TMainForm::closeEvent(QCloseEvent* event) {
    if (TracksChanged &&
        messages_.Show(QuestionMessage(MainFormName, ApplicationTitle, "ExitAlthoughChanged")) !=
            MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The window's default and cancel buttons: Enter runs the Tralvo command, Escape ends.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (TralvoBtn->isVisible() && TralvoBtn->isEnabled()) {
            TralvoBtn->click();
        }
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        if (ExitBtn->isVisible() && ExitBtn->isEnabled()) {
            ExitBtn->click();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMainForm::paintEvent(QPaintEvent* event) {
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

void TMainForm::SettingsBtnClick() {
    RunSettingsDialog();
}

void TMainForm::ExitBtnClick() {
    close();
}

} // namespace tralvo
