// The window's size, place and splitter, and the last folders of both panes: restored at
// creation, kept in the settings when the window goes.
#include "gui/gui_settings.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "platform/paths.h"
#include "settings/window_state.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <algorithm>

namespace tralvo {

namespace {

// Whether path is the root folder or lies below it. Paths compare exactly: on this system
// "/media/Player" and "/media/player" may be two volumes.
bool LiesBelow(const std::string& root, const std::string& path) {
    return FolderWithSlash(path).starts_with(FolderWithSlash(root));
}

} // namespace

void MainWindow::RestoreWindowState() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    const WindowSettings& stored = settings_.Get().Window;
    const WindowGeometry geometry =
        RestoredGeometry(stored, width(), height(), screenSize.width(), screenSize.height());
    resize(geometry.width, geometry.height);
    move(geometry.left, geometry.top);
    if (stored.WindowMaximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (stored.SplitterPos != -1) {
        const int total = splitter_->width() - splitter_->handleWidth();
        splitter_->setSizes({stored.SplitterPos, std::max(total - stored.SplitterPos, 1)});
    }
    if (fs_.FolderExists(stored.LastMyComputerPath)) {
        computerPane_->ShowFolder(stored.LastMyComputerPath);
    }
    ShowLastPlayerFolder();
}

void MainWindow::ShowLastPlayerFolder() {
    const std::string& last = settings_.Get().Window.LastMyPlayerPath;
    if (fs_.FolderExists(last) && LiesBelow(GetPlayerRoot(), last)) {
        playerPane_->ShowFolder(last);
    }
}

void MainWindow::SaveWindowState() {
    WindowSettings& stored = settings_.Kept().Window;
    stored.SplitterPos = splitter_->sizes().value(0, computerPane_->width());
    stored.WindowMaximized = isMaximized();
    if (!stored.WindowMaximized) {
        stored.WindowWidth = width();
        stored.WindowHeight = height();
        stored.WindowLeft = x();
        stored.WindowTop = y();
    }
    stored.LastMyComputerPath = computerPane_->Folder();
    stored.LastMyPlayerPath = playerPane_->Folder();
}

} // namespace tralvo
