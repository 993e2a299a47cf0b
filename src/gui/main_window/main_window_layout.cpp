// The main window's controls: built as the window's design gives them, in creation order
// (the catalogue's texts are applied in this order).
#include "gui/gui_settings.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/pane_parts.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"
#include "gui/widgets/anchored_panel.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/widget_names.h"
#include "gui/widgets/window_font.h"

#include <QBoxLayout>
#include <QFrame>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>

namespace tralvo {

namespace {

// The design's client area, of a window 590 x 480 pixels with its frame.
constexpr int DesignClientWidth = 582;
constexpr int DesignClientHeight = 446;
constexpr int SplitterWidth = 8;

} // namespace

void MainWindow::BuildControls() {
    setFont(WindowFont());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    BuildBottomPanel();

    auto* clientPanel = Named(new QWidget(this), "ClientPanel");
    auto* clientLayout = new QHBoxLayout(clientPanel);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    splitter_ = Named(new QSplitter(Qt::Horizontal, clientPanel), "ClientSplitter");
    splitter_->setHandleWidth(SplitterWidth);
    splitter_->setChildrenCollapsible(false);
    clientLayout->addWidget(splitter_);

    computerPane_ = new ComputerPane(
        settings_.Get(), fs_, [this] { return GetPlayerRoot(); }, splitter_);
    playerPane_ = new PlayerPane(
        settings_, [this] { return GetPlayerRoot(); }, messages_, fs_, splitter_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({ComputerPaneWidth, DesignClientWidth - ComputerPaneWidth});

    outer->addWidget(clientPanel, 1);
    outer->addWidget(bottomPanel_);

    player_ = new PreviewPlayer(this);

    QSlider* volume = playerPanel_->VolumeControl();
    setTabOrder(computerPane_->Tree(), computerPane_->List());
    setTabOrder(computerPane_->List(), playerPane_->Tree());
    setTabOrder(playerPane_->Tree(), playerPane_->List());
    setTabOrder(playerPane_->List(), volume);
    setTabOrder(volume, tralvoButton_);
    setTabOrder(tralvoButton_, exitButton_);
    resize(DesignClientWidth, DesignClientHeight);
}

void MainWindow::BuildBottomPanel() {
    bottomPanel_ = Named(new AnchoredPanel(QSize(DesignClientWidth, 68), this), "BottomPanel");
    bottomPanel_->setFixedHeight(68);

    playerPanel_ = new PlayerPanel(bottomPanel_);
    bottomPanel_->Place(playerPanel_, {8, 8, 398, 53},
                        AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);

    progressBar_ = Named(new QProgressBar, "ProgressPB");
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    bottomPanel_->Place(progressBar_, {421, 8, 153, 21}, AnchoredPanel::Top | AnchoredPanel::Right);
    progressBar_->hide();

    tralvoButton_ = Named(new QPushButton(QStringLiteral("TralvoBtn")), "TralvoBtn");
    tralvoButton_->setDefault(true);
    bottomPanel_->Place(tralvoButton_, {421, 8, 153, 25},
                        AnchoredPanel::Top | AnchoredPanel::Right);

    exitButton_ = Named(new QPushButton(QStringLiteral("ExitBtn")), "ExitBtn");
    bottomPanel_->Place(exitButton_, {421, 36, 153, 25}, AnchoredPanel::Top | AnchoredPanel::Right);

    setTabOrder(playerPanel_, tralvoButton_);
    setTabOrder(tralvoButton_, exitButton_);
}

} // namespace tralvo
