#include "gui/main_window/pane_parts.h"

#include "gui/main_window/event_hook.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/icons.h"
#include "gui/panes/list_rows.h"
#include "gui/panes/pane_list_view.h"
#include "gui/panes/picture_box.h"
#include "gui/widgets/anchored_panel.h"
#include "gui/widgets/press_later.h"
#include "gui/widgets/widget_names.h"
#include "gui/widgets/window_font.h"

#include <QBoxLayout>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolButton>

namespace tralvo {

namespace {

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

} // namespace

PaneToolbar AddPaneToolbar(QWidget& pane, const char* coolbarName, const char* toolbarName) {
    auto* coolbar = Named(new QFrame(&pane), coolbarName);
    coolbar->setFixedHeight(CoolbarHeight);
    auto* coolbarLayout = new QHBoxLayout(coolbar);
    coolbarLayout->setContentsMargins(CoolbarMargin, CoolbarMargin, CoolbarMargin, CoolbarMargin);
    auto* toolbar = Named(new QWidget(coolbar), toolbarName);
    auto* toolbarLayout = new QHBoxLayout(toolbar);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    toolbarLayout->setSpacing(0);
    coolbarLayout->addWidget(toolbar);
    coolbarLayout->addStretch(1);
    pane.layout()->addWidget(coolbar);
    return {coolbar, toolbar};
}

QToolButton* AddToolButton(QWidget* toolbar, const char* name, int image) {
    // Several open a box or a dialog that a screen reader must be free to read.
    auto* button = Named(NewToolButtonPressedLater(toolbar), name);
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

FolderBox AddFolderBox(QWidget& pane, const FolderBoxNames& names, const QIcon& picture,
                       FileSystem& fs) {
    const int boxWidth = ComputerPaneWidth;
    auto* box = Named(new AnchoredPanel(QSize(boxWidth, FolderBoxHeight), &pane), names.box);
    box->setFixedHeight(FolderBoxHeight);
    box->setAutoFillBackground(true);
    box->setBackgroundRole(QPalette::Base);
    auto* image = Named(new PictureBox(picture), names.image);
    box->Place(image, {4, 4, 32, 32});
    auto* caption = Named(new QLabel(QString::fromLatin1(names.caption)), names.caption);
    caption->setFont(BoldFont());
    box->Place(caption, {44, 12, boxWidth - 48, caption->sizeHint().height()},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);
    auto* line = Named(new QFrame, names.line);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    box->Place(line, {0, 40, boxWidth, 1},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right);
    auto* tree = Named(new FolderTree(nullptr, fs), names.tree);
    tree->setFrameShape(QFrame::NoFrame);
    box->Place(tree, {0, 44, boxWidth, FolderBoxHeight - 44},
               AnchoredPanel::Left | AnchoredPanel::Top | AnchoredPanel::Right |
                   AnchoredPanel::Bottom);
    pane.layout()->addWidget(box);
    return {box, image, caption, line, tree};
}

PaneListView* AddPaneList(QWidget& pane, const char* name, QAbstractItemModel* model, bool numbered,
                          bool largeIcons) {
    auto* list = Named(new PaneListView(&pane), name);
    list->setModel(model);
    list->setItemDelegate(new ListRowDelegate(numbered, largeIcons, list));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    static_cast<QBoxLayout*>(pane.layout())->addWidget(list, 1);
    return list;
}

void RedrawSelectionOnFocusOut(QListView& list) {
    new EventHook(&list, [&list](QEvent& event) {
        if (event.type() == QEvent::FocusOut && list.selectionModel() != nullptr &&
            list.selectionModel()->hasSelection()) {
            list.viewport()->update();
        }
        return false;
    });
}

} // namespace tralvo
