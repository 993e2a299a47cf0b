// The settings dialog's geometry: its design scaled to the texts in force, laid out in two
// columns beside the picture, the buttons below.
#include "gui/dialogs/settings_dialog.h"
#include "gui/panes/picture_box.h"
#include "gui/qt_text.h"
#include "gui/widgets/design_layout.h"
#include "gui/widgets/dialog_fit.h"
#include "gui/widgets/multi_line_buttons.h"
#include "gui/widgets/one_line_label.h"
#include "i18n/lang_text.h"
#include "i18n/language_catalogue.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <initializer_list>
#include <vector>

namespace tralvo {

namespace {

// The design: a client area of 473 x 281 pixels in Tahoma 8 pt at 96 dpi, the controls at the
// rectangles CreateControls gives them.
constexpr QSize DesignClient(473, 281);

} // namespace

// One factor across and one down for the whole design, so that every caption and list
// entry fits; it keeps the two columns and their proportions.
DesignScale SettingsDialog::ScaleToTexts() {
    DesignScale scale;
    const auto needWidth = [&scale](const QWidget* widget, int width) {
        scale.across = std::max(scale.across, static_cast<double>(width) / widget->width());
    };
    const auto needHeight = [&scale](const QWidget* widget, int height) {
        scale.down = std::max(scale.down, static_cast<double>(height) / widget->height());
    };

    for (QLabel* label : {PlayerDriveLbl, PlayerTypeLbl, AppearanceLbl, LanguageLbl, SortLbl,
                          Sort1Lbl, Sort2Lbl, Sort3Lbl}) {
        needWidth(label, CaptionWidth(*label, label->text()));
        needHeight(label, label->fontMetrics().height());
    }
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             UsingFATRB, SortingByFilenameRB, Only83FileNamesCB, SortingByFileCreationTimeRB,
             LargeFileIconsCB, NaturalSortCB}) {
        needWidth(button, button->sizeHint().width());
    }
    // A caption's second line gets its room from the row's own growth (LayOut).
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{UsingFATRB, LargeFileIconsCB, NaturalSortCB}) {
        needHeight(button, button->sizeHint().height());
    }
    for (QPushButton* button : {ProbeBtn, CompListBtn, HelpBtn, OKBtn, CancelBtn}) {
        needWidth(button, FittingButtonWidth(*button));
        needHeight(button, button->sizeHint().height());
    }
    for (QComboBox* list : {LanguageCB, Sort1CB, Sort2CB, Sort3CB}) {
        needWidth(list, list->sizeHint().width());
        needHeight(list, list->sizeHint().height());
    }
    // Mount paths are as long as the system makes them: the drive list shortens its entry in
    // the middle rather than widening the dialog, and its open list shows every entry whole.
    needHeight(PlayerDriveCB, PlayerDriveCB->sizeHint().height());
    // A folder without a player volume says so in full, and so does a player with a label of
    // the 11 characters FAT allows; a longer exFAT label is shortened in the middle, as the
    // drive list's entry is.
    for (const std::string& text :
         {GetLangString("NoPlayerVolume"),
          FormatLangString(GetLangString("NamedPlayerVolume"), "MUSIC STICK|2024-ABCD")}) {
        PlayerVolumeLbl->SetText(CatalogueText(text));
        needWidth(PlayerVolumeLbl, PlayerVolumeLbl->TextWidth());
    }
    needHeight(PlayerVolumeLbl, PlayerVolumeLbl->fontMetrics().height());
    FitDriveListPopup();
    return scale;
}

// Every control at its scaled design size, the columns laid out at the scaled design
// distances. A caption with a line break gets room for one more line, and the column pushes
// the controls below it down; the divider, the buttons and the dialog follow.
void SettingsDialog::LayOut(const DesignScale& scale) {
    const QHash<const QWidget*, QRect> design = DesignRects(*this);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect rect = design.value(child);
        child->setFixedSize(scale.Width(rect.width()), scale.Height(rect.height()));
    }
    ImageImg->setFixedSize(design.value(ImageImg).size()); // a picture of its own size
    DividerShape->setFixedWidth(design.value(DividerShape).width());
    DividerShape->setMinimumHeight(scale.Height(design.value(DividerShape).height()));
    DividerShape->setMaximumHeight(QWIDGETSIZE_MAX);
    // The probe's and the compatibility list's buttons shrink to their captions but never grow.
    for (QPushButton* button : {ProbeBtn, CompListBtn}) {
        button->setFixedWidth(std::min(FittingButtonWidth(*button), button->width()));
    }
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{Only83FileNamesCB, SortingByFileCreationTimeRB}) {
        if (button->text().contains(QLatin1Char('\n'))) {
            button->setFixedHeight(2 * button->height());
        }
    }

    const QRect divider = design.value(DividerShape);
    const QRect cancel = design.value(CancelBtn);
    const QRect help = design.value(HelpBtn);
    const QSize client(scale.Width(DesignClient.width()), scale.Height(DesignClient.height()));
    auto* root = new QVBoxLayout(this);
    root->setSpacing(0);
    root->setContentsMargins(
        scale.X(help.left()), scale.Y(divider.top()),
        client.width() - (scale.X(cancel.left()) + scale.Width(cancel.width())),
        client.height() - (scale.Y(cancel.top()) + scale.Height(cancel.height())));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    const auto column = [&](const std::vector<std::vector<QWidget*>>& rows, int left) {
        QBoxLayout* laidOut = DesignColumn(rows, left, divider.top(), design, scale);
        body->addSpacing(scale.X(left) - (scale.X(help.left()) + body->sizeHint().width()));
        body->addLayout(laidOut);
    };
    column({{ImageImg}}, design.value(ImageImg).left());
    column({{PlayerDriveLbl},
            {PlayerDriveCB},
            {PlayerVolumeLbl},
            {PlayerTypeLbl},
            {UsingFATRB},
            {SortingByFilenameRB},
            {Only83FileNamesCB},
            {SortingByFileCreationTimeRB},
            {ProbeBtn},
            {CompListBtn}},
           design.value(PlayerDriveLbl).left());
    body->addSpacing(scale.X(divider.left()) - (scale.X(help.left()) + body->sizeHint().width()));
    body->addWidget(DividerShape);
    column({{AppearanceLbl},
            {LanguageLbl, LanguageCB},
            {LargeFileIconsCB},
            {SortLbl},
            {Sort1Lbl, Sort1CB},
            {Sort2Lbl, Sort2CB},
            {Sort3Lbl, Sort3CB},
            {NaturalSortCB}},
           design.value(AppearanceLbl).left());
    body->addStretch(1);
    root->addLayout(body);

    root->addSpacing(scale.Y(help.top()) -
                     (scale.Y(divider.top()) + scale.Height(divider.height())));
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(HelpBtn);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    const QRect ok = design.value(OKBtn);
    buttons->addSpacing(scale.X(cancel.left()) - (scale.X(ok.left()) + OKBtn->width()));
    buttons->addWidget(CancelBtn);
    root->addLayout(buttons);

    setFixedSize(client.width(), root->sizeHint().height());
}

} // namespace tralvo
