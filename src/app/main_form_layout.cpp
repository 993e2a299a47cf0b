// The main window's controls: built as the window's design gives them, in creation order
// (the catalogue's texts are applied in this order).
#include "gui/widgets/anchored_panel.h"
#include "gui/widgets/apply_language.h"
#include "app/main_form.h"
#include "gui/widgets/widget_names.h"
#include "gui/widgets/window_font.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/pane_parts.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/icons.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/track_list_model.h"

#include <QBoxLayout>
#include <QFrame>
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
        fs_, [this] { return GetPlayerRoot(); }, ClientSplitter);
    BuildPlayerPane();
    ClientSplitter->setStretchFactor(0, 0);
    ClientSplitter->setStretchFactor(1, 1);
    ClientSplitter->setSizes({ComputerPaneWidth, DesignClientWidth - ComputerPaneWidth});

    outer->addWidget(ClientPanel, 1);
    outer->addWidget(BottomPanel);

    player_ = new PreviewPlayer(this);

    QSlider* volume = playerPanel_->VolumeControl();
    setTabOrder(computerPane_->Tree(), computerPane_->List());
    setTabOrder(computerPane_->List(), MyPlayerST);
    setTabOrder(MyPlayerST, TracksLB);
    setTabOrder(TracksLB, volume);
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

void TMainForm::BuildPlayerPane() {
    auto* pane = Named(new QWidget(ClientSplitter), "MyPlayerPanel");
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const PaneToolbar bar = AddPaneToolbar(*pane, "MyPlayerCoolbar", "MyPlayerToolbar");
    MyPlayerPanel = pane;
    MyPlayerCoolbar = bar.coolbar;
    MyPlayerToolbar = bar.toolbar;
    QWidget* toolbar = bar.toolbar;
    MyPlayerRefreshBtn = AddToolButton(toolbar, "MyPlayerRefreshBtn", 0);
    AddSeparator(toolbar, "Separator3");
    MyPlayerPropertiesBtn = AddToolButton(toolbar, "MyPlayerPropertiesBtn", 1);
    DownloadBtn = AddToolButton(toolbar, "DownloadBtn", 7);
    MyPlayerDeleteBtn = AddToolButton(toolbar, "MyPlayerDeleteBtn", 3);
    AddSeparator(toolbar, "Separator4");
    UpBtn = AddToolButton(toolbar, "UpBtn", 8);
    DownBtn = AddToolButton(toolbar, "DownBtn", 9);
    AddSeparator(toolbar, "Separator5");
    SortBtn = AddToolButton(toolbar, "SortBtn", 10);
    ReverseSortBtn = AddToolButton(toolbar, "ReverseSortBtn", 11);
    ShuffleBtn = AddToolButton(toolbar, "ShuffleBtn", 12);

    const FolderBox box = AddFolderBox(
        *pane, {"MyPlayerFolderSB", "MyPlayerImg", "MyPlayerLbl", "MyPlayerShape", "MyPlayerST"},
        PlayerHeaderIcon(), fs_);
    TracksModel = new TrackListModel(pane);
    TracksLB = AddPaneList(*pane, "TracksLB", TracksModel, true);

    // Assistive technology names the tree and the list after the pane's caption.
    SetNamedBy(*box.tree, "MyPlayerLbl");
    SetNamedBy(*TracksLB, "MyPlayerLbl");
    MyPlayerFolderSB = box.box;
    MyPlayerImg = box.image;
    MyPlayerLbl = box.caption;
    MyPlayerShape = box.line;
    MyPlayerST = box.tree;
    RedrawSelectionOnFocusOut(*TracksLB);
}

} // namespace tralvo
