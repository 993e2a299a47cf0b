// The main window's controls: built as the window's design gives them, in creation order
// (the catalogue's texts are applied in this order).
#include "app/anchored_panel.h"
#include "app/apply_language.h"
#include "app/main_form.h"
#include "app/settings_store.h"
#include "app/widget_names.h"
#include "app/window_font.h"
#include "panes/file_list_model.h"
#include "panes/icons.h"
#include "panes/list_rows.h"
#include "panes/picture_box.h"
#include "panes/shell_tree.h"
#include "panes/track_list_model.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

namespace tralvo {

namespace {

// The design's client area, of a window 590 x 480 pixels with its frame.
constexpr int DesignClientWidth = 582;
constexpr int DesignClientHeight = 446;
constexpr int ComputerPaneWidth = 254;
constexpr int SplitterWidth = 8;
constexpr int CoolbarHeight = 34;
constexpr int CoolbarMargin = 2;
constexpr int FolderBoxHeight = 171;
constexpr QSize ToolButtonSize(31, 30);
constexpr int ToolIconSize = 24;
constexpr int SeparatorWidth = 8;

QFont BoldFont() {
    QFont font = WindowFont();
    font.setBold(true);
    return font;
}

QToolButton* AddToolButton(QWidget* toolbar, const char* name, int image) {
    auto* button = Named(new QToolButton(toolbar), name);
    button->setAutoRaise(true);
    button->setFixedSize(ToolButtonSize);
    button->setIconSize(QSize(ToolIconSize, ToolIconSize));
    button->setIcon(ToolbarIcon(image));
    button->setFocusPolicy(Qt::NoFocus);
    button->setText(QString::fromLatin1(name));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->layout()->addWidget(button);
    return button;
}

void AddSeparator(QWidget* toolbar, const char* name) {
    auto* separator = Named(new QFrame(toolbar), name);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedSize(SeparatorWidth, ToolButtonSize.height() - 6);
    toolbar->layout()->addWidget(separator);
    static_cast<QBoxLayout*>(toolbar->layout())->setAlignment(separator, Qt::AlignVCenter);
}

PaneListView* MakeList(QWidget* parent, const char* name, QAbstractItemModel* model,
                       bool numbered) {
    auto* list = Named(new PaneListView(parent), name);
    list->setModel(model);
    list->setItemDelegate(new ListRowDelegate(numbered, Settings.LargeFileIconsAtStart, list));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

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

    BuildPane(true);
    BuildPane(false);
    ClientSplitter->setStretchFactor(0, 0);
    ClientSplitter->setStretchFactor(1, 1);
    ClientSplitter->setSizes({ComputerPaneWidth, DesignClientWidth - ComputerPaneWidth});

    outer->addWidget(ClientPanel, 1);
    outer->addWidget(BottomPanel);

    PlayerTimer = Named(new QTimer(this), "PlayerTimer");
    PlayerTimer->setInterval(500);

    setTabOrder(MyComputerST, FilesLB);
    setTabOrder(FilesLB, MyPlayerST);
    setTabOrder(MyPlayerST, TracksLB);
    setTabOrder(TracksLB, VolumeTB);
    setTabOrder(VolumeTB, TralvoBtn);
    setTabOrder(TralvoBtn, ExitBtn);
    resize(DesignClientWidth, DesignClientHeight);
}

void TMainForm::BuildBottomPanel() {
    BottomPanel = Named(new AnchoredPanel(QSize(DesignClientWidth, 68), this), "BottomPanel");
    BottomPanel->setFixedHeight(68);

    PlayerPanel = Named(new AnchoredPanel(QSize(398, 53)), "PlayerPanel");
    BottomPanel->Place(PlayerPanel, {8, 8, 398, 53},
                       AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);

    // Made inside its panel: a line edit lays out its text at once, in its font then.
    PlayerStatusEB = Named(new QLineEdit(PlayerPanel), "PlayerStatusEB");
    PlayerStatusEB->setReadOnly(true);
    PlayerStatusEB->setFocusPolicy(Qt::ClickFocus);
    PlayerStatusEB->setContextMenuPolicy(Qt::NoContextMenu);
    PlayerStatusEB->setText(QStringLiteral("PlayerStatusEB"));
    SetNamedByString(*PlayerStatusEB, "PlayerStatus"); // it shows the status, it has no label
    PlayerPanel->Place(PlayerStatusEB, {0, 0, 398, 21},
                       AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);

    const auto playerButton = [this](const char* name, PlayerGlyph glyph, int left) {
        auto* button = Named(new QToolButton, name);
        button->setAutoRaise(true);
        button->setIcon(PlayerIcon(glyph));
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::NoFocus);
        PlayerPanel->Place(button, {left, 24, 28, 28});
        return button;
    };
    PlayBtn = playerButton("PlayBtn", PlayerGlyph::Play, 0);
    PauseBtn = playerButton("PauseBtn", PlayerGlyph::Pause, 28);
    StopBtn = playerButton("StopBtn", PlayerGlyph::Stop, 56);

    PlayerPB = Named(new QProgressBar, "PlayerPB");
    PlayerPB->setRange(0, 1000);
    PlayerPB->setValue(0);
    PlayerPB->setTextVisible(false);
    PlayerPB->setCursor(Qt::PointingHandCursor);
    PlayerPanel->Place(PlayerPB, {92, 32, 142, 13},
                       AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);

    VolumeLbl = Named(new QLabel(QStringLiteral("VolumeLbl")), "VolumeLbl");
    PlayerPanel->Place(VolumeLbl, {245, 32, VolumeLbl->sizeHint().width(), 13},
                       AnchoredPanel::Top | AnchoredPanel::Right);

    VolumeTB = Named(new QSlider(Qt::Horizontal), "VolumeTB");
    VolumeTB->setRange(0, 100);
    VolumeTB->setValue(50);
    VolumeTB->setPageStep(10);
    VolumeTB->setTickInterval(10);
    VolumeTB->setTickPosition(QSlider::TicksBelow);
    PlayerPanel->Place(VolumeTB, {297, 24, 101, 28}, AnchoredPanel::Top | AnchoredPanel::Right);
    SetNamedBy(*VolumeTB, "VolumeLbl");

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

    setTabOrder(PlayerPanel, TralvoBtn);
    setTabOrder(TralvoBtn, ExitBtn);
    setTabOrder(VolumeTB, PlayerPB);
}

void TMainForm::BuildPane(bool computer) {
    auto* pane = Named(new QWidget(ClientSplitter), computer ? "MyComputerPanel" : "MyPlayerPanel");
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* coolbar = Named(new QFrame(pane), computer ? "MyComputerCoolbar" : "MyPlayerCoolbar");
    coolbar->setFixedHeight(CoolbarHeight);
    auto* coolbarLayout = new QHBoxLayout(coolbar);
    coolbarLayout->setContentsMargins(CoolbarMargin, CoolbarMargin, CoolbarMargin, CoolbarMargin);
    auto* toolbar = Named(new QWidget(coolbar), computer ? "MyComputerToolbar" : "MyPlayerToolbar");
    auto* toolbarLayout = new QHBoxLayout(toolbar);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    toolbarLayout->setSpacing(0);
    coolbarLayout->addWidget(toolbar);
    coolbarLayout->addStretch(1);
    layout->addWidget(coolbar);

    if (computer) {
        MyComputerPanel = pane;
        MyComputerCoolbar = coolbar;
        MyComputerToolbar = toolbar;
        MyComputerRefreshBtn = AddToolButton(toolbar, "MyComputerRefreshBtn", 0);
        AddSeparator(toolbar, "Separator1");
        MyComputerPropertiesBtn = AddToolButton(toolbar, "MyComputerPropertiesBtn", 1);
        UploadBtn = AddToolButton(toolbar, "UploadBtn", 2);
        MyComputerDeleteBtn = AddToolButton(toolbar, "MyComputerDeleteBtn", 3);
        AddSeparator(toolbar, "Separator2");
        SettingsBtn = AddToolButton(toolbar, "SettingsBtn", 4);
        HelpBtn = AddToolButton(toolbar, "HelpBtn", 5);
        AboutBtn = AddToolButton(toolbar, "AboutBtn", 6);
    } else {
        MyPlayerPanel = pane;
        MyPlayerCoolbar = coolbar;
        MyPlayerToolbar = toolbar;
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
    }

    // The folder header: a white box with the pane's picture and caption over its tree.
    const int boxWidth = ComputerPaneWidth;
    auto* box = Named(new AnchoredPanel(QSize(boxWidth, FolderBoxHeight), pane),
                      computer ? "MyComputerFolderSB" : "MyPlayerFolderSB");
    box->setFixedHeight(FolderBoxHeight);
    box->setAutoFillBackground(true);
    box->setBackgroundRole(QPalette::Base);
    auto* image = Named(new PictureBox(computer ? ComputerHeaderIcon() : PlayerHeaderIcon()),
                        computer ? "MyComputerImg" : "MyPlayerImg");
    box->Place(image, {4, 4, 32, 32});
    auto* caption =
        Named(new QLabel(QString::fromLatin1(computer ? "MyComputerLbl" : "MyPlayerLbl")),
              computer ? "MyComputerLbl" : "MyPlayerLbl");
    caption->setFont(BoldFont());
    box->Place(caption, {44, 12, boxWidth - 48, caption->sizeHint().height()},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);
    auto* line = Named(new QFrame, computer ? "MyComputerShape" : "MyPlayerShape");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    box->Place(line, {0, 40, boxWidth, 1},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);
    auto* tree = Named(new TShellTree(nullptr, fs_), computer ? "MyComputerST" : "MyPlayerST");
    tree->setFrameShape(QFrame::NoFrame);
    box->Place(tree, {0, 44, boxWidth, FolderBoxHeight - 44},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right |
                   AnchoredPanel::Bottom);
    layout->addWidget(box);

    PaneListView* list = nullptr;
    if (computer) {
        FilesModel = new FileListModel(pane);
        list = MakeList(pane, "FilesLB", FilesModel, false);
    } else {
        TracksModel = new TrackListModel(pane);
        list = MakeList(pane, "TracksLB", TracksModel, true);
    }
    layout->addWidget(list, 1);

    // Assistive technology names the tree and the list after the pane's caption.
    SetNamedBy(*tree, computer ? "MyComputerLbl" : "MyPlayerLbl");
    SetNamedBy(*list, computer ? "MyComputerLbl" : "MyPlayerLbl");
    if (computer) {
        MyComputerFolderSB = box;
        MyComputerImg = image;
        MyComputerLbl = caption;
        MyComputerShape = line;
        MyComputerST = tree;
        FilesLB = list;
        pane->setMinimumWidth(ComputerPaneWidth);
    } else {
        MyPlayerFolderSB = box;
        MyPlayerImg = image;
        MyPlayerLbl = caption;
        MyPlayerShape = line;
        MyPlayerST = tree;
        TracksLB = list;
    }
}

// The player panel from right to left, so that a long translated volume label shortens the
// position bar instead of overlapping it.
void TMainForm::LayOutPlayerPanel() {
    const int panelWidth = PlayerPanel->width();
    const QRect bar = PlayerPanel->DesignRect(VolumeTB);
    const int barLeft = panelWidth - bar.width();
    PlayerPanel->Move(VolumeTB, {barLeft, bar.top(), bar.width(), bar.height()});
    const QRect label = PlayerPanel->DesignRect(VolumeLbl);
    const int labelWidth = VolumeLbl->sizeHint().width();
    const int labelLeft = barLeft - labelWidth;
    PlayerPanel->Move(VolumeLbl,
                      {labelLeft, label.top(), labelWidth, VolumeLbl->sizeHint().height()});
    const QRect position = PlayerPanel->DesignRect(PlayerPB);
    PlayerPanel->Move(PlayerPB, {position.left(), position.top(), labelLeft - position.left() - 16,
                                 position.height()});
}

} // namespace tralvo
