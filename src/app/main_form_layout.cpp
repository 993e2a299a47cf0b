// The main window's controls: built as the window's design gives them, in creation order
// (the catalogue's texts are applied in this order).
#include "app/anchored_panel.h"
#include "app/apply_language.h"
#include "app/gui_settings.h"
#include "app/main_form.h"
#include "app/widget_names.h"
#include "app/window_font.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/pane_parts.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"

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

void TMainForm::BuildControls() {
    setFont(WindowFont());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    BuildBottomPanel();

    ClientPanel = Named(new QWidget(this), "ClientPanel");
    auto* clientLayout = new QHBoxLayout(ClientPanel);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    ClientSplitter = Named(new QSplitter(Qt::Horizontal, ClientPanel), "ClientSplitter");
    ClientSplitter->setHandleWidth(SplitterWidth);
    ClientSplitter->setChildrenCollapsible(false);
    clientLayout->addWidget(ClientSplitter);

    computerPane_ = new ComputerPane(
        settings_.Get(), fs_, [this] { return GetPlayerRoot(); }, ClientSplitter);
    playerPane_ = new PlayerPane(
        settings_, [this] { return GetPlayerRoot(); }, messages_, fs_, ClientSplitter);
    ClientSplitter->setStretchFactor(0, 0);
    ClientSplitter->setStretchFactor(1, 1);
    ClientSplitter->setSizes({ComputerPaneWidth, DesignClientWidth - ComputerPaneWidth});

    outer->addWidget(ClientPanel, 1);
    outer->addWidget(BottomPanel);

    player_ = new PreviewPlayer(this);

    QSlider* volume = playerPanel_->VolumeControl();
    setTabOrder(computerPane_->Tree(), computerPane_->List());
    setTabOrder(computerPane_->List(), playerPane_->Tree());
    setTabOrder(playerPane_->Tree(), playerPane_->List());
    setTabOrder(playerPane_->List(), volume);
    setTabOrder(volume, TralvoBtn);
    setTabOrder(TralvoBtn, ExitBtn);
    resize(DesignClientWidth, DesignClientHeight);
}

void TMainForm::BuildBottomPanel() {
    BottomPanel = Named(new AnchoredPanel(QSize(DesignClientWidth, 68), this), "BottomPanel");
    BottomPanel->setFixedHeight(68);

    playerPanel_ = new PlayerPanel(BottomPanel);
    BottomPanel->Place(playerPanel_, {8, 8, 398, 53},
                       AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);

    ProgressPB = Named(new QProgressBar, "ProgressPB");
    ProgressPB->setRange(0, 100);
    ProgressPB->setTextVisible(false);
    BottomPanel->Place(ProgressPB, {421, 8, 153, 21}, AnchoredPanel::Top | AnchoredPanel::Right);
    ProgressPB->hide();

    TralvoBtn = Named(new QPushButton(QStringLiteral("TralvoBtn")), "TralvoBtn");
    TralvoBtn->setDefault(true);
    BottomPanel->Place(TralvoBtn, {421, 8, 153, 25}, AnchoredPanel::Top | AnchoredPanel::Right);

    ExitBtn = Named(new QPushButton(QStringLiteral("ExitBtn")), "ExitBtn");
    BottomPanel->Place(ExitBtn, {421, 36, 153, 25}, AnchoredPanel::Top | AnchoredPanel::Right);

    setTabOrder(playerPanel_, TralvoBtn);
    setTabOrder(TralvoBtn, ExitBtn);
}

} // namespace tralvo
