#include "gui/dialogs/settings_dialog.h"

#include "gui/dialogs/order_probe_dialog.h"
#include "gui/gui_settings.h"
#include "gui/panes/icons.h"
#include "gui/panes/picture_box.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/dialog_fit.h"
#include "gui/widgets/dialog_placement.h"
#include "gui/widgets/multi_line_buttons.h"
#include "gui/widgets/one_line_label.h"
#include "gui/widgets/widget_names.h"
#include "i18n/component_text.h"
#include "i18n/lang_text.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/drives.h"
#include "settings/settings_store.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

namespace tralvo {

namespace {

constexpr const char* WindowClass = "TSettingsForm";

// The sort keys the dialog offers, by SortKey value.
constexpr std::array<const char*, 7> SortKeyNames = {"FileName", "Title",   "Artist",     "Album",
                                                     "Year",     "Comment", "TrackNumber"};

// A drop-down list that shortens an entry too long for it in the middle, keeping the start
// of the entry and the mount point at its end in view; the open list shows it whole.
class ElidingComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect text = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                   QStyle::SC_ComboBoxEditField, this);
        option.currentText =
            fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, text.width());
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

template <typename Widget>
Widget* Place(QWidget* parent, const char* name, const QRect& design) {
    auto* widget = Named(new Widget(parent), name);
    widget->setGeometry(design);
    return widget;
}

template <typename Widget>
Widget* PlaceText(QWidget* parent, const char* name, const char* text, const QRect& design) {
    Widget* widget = Place<Widget>(parent, name, design);
    widget->setText(QString::fromLatin1(text));
    return widget;
}

QLabel* PlaceHeading(QWidget* parent, const char* name, const char* text, const QRect& design) {
    auto* label = PlaceText<QLabel>(parent, name, text, design);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void FillSortKeyList(QComboBox& list) {
    QStringList entries;
    for (const char* key : SortKeyNames) {
        entries.append(CatalogueText(GetLangString(key)));
    }
    list.addItems(entries);
}

// A sort list without a selection keeps the stored key: the settings file may hold keys
// (creation time, short name) that the list does not offer.
void StoreSortKey(const QComboBox& list, media::SortKey& key) {
    if (list.currentIndex() >= 0) {
        key = media::SortKeyFromNumber(list.currentIndex());
    }
}

} // namespace

SettingsDialog::SettingsDialog(GuiSettings& settings, Messages& messages, HelpHandler help,
                               UrlOpener openUrl, FileSystem& fs, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), help_(std::move(help)),
      openUrl_(std::move(openUrl)), fs_(fs), findPlayerVolume_(SystemPlayerVolumeFinder(fs)),
      probe_(jobs::RealOrderProbeOperations(fs)) {
    SetUpFixedDialog(*this, "SettingsForm", QStringLiteral("Settings"));
    CreateControls();
    FormCreate();
}

// Every control at its design rectangle; LayOut scales the design to the texts in force.
void SettingsDialog::CreateControls() {
    ImageImg = Named(new PictureBox(SettingsHeaderIcon(), this), "ImageImg");
    ImageImg->setGeometry(8, 8, 24, 24);

    PlayerDriveLbl = PlaceHeading(this, "PlayerDriveLbl", "Player drive", {40, 8, 185, 13});
    PlayerDriveCB = Place<ElidingComboBox>(this, "PlayerDriveCB", {40, 24, 185, 21});
    SetNamedBy(*PlayerDriveCB, "PlayerDriveLbl");
    PlayerVolumeLbl = Named(new OneLineLabel(this, Qt::ElideMiddle), "PlayerVolumeLbl");
    PlayerVolumeLbl->setGeometry(40, 49, 192, 13);
    PlayerTypeLbl = PlaceHeading(this, "PlayerTypeLbl", "Player type", {40, 70, 185, 13});
    UsingFATRB =
        PlaceText<QRadioButton>(this, "UsingFATRB", "&Directory order (FAT)", {40, 86, 185, 17});
    UsingFATRB->setChecked(true);
    SortingByFilenameRB = PlaceText<QRadioButton>(this, "SortingByFilenameRB",
                                                  "Sorted by file &name", {40, 106, 185, 17});
    Only83FileNamesCB = PlaceText<MultiLineCheckBox>(
        this, "Only83FileNamesCB", "Uses only short &8.3 names", {56, 126, 169, 17});
    Only83FileNamesCB->setEnabled(false);
    SortingByFileCreationTimeRB = PlaceText<MultiLineRadioButton>(
        this, "SortingByFileCreationTimeRB", "Sorted by file &creation time", {40, 146, 185, 17});
    ProbeBtn = PlaceText<QPushButton>(this, "ProbeBtn", "Find out by &test...", {40, 174, 185, 25});
    ProbeBtn->setAutoDefault(false);
    ProbeBtn->setToolTip(CatalogueText(GetLangString("OrderProbeHint")));
    CompListBtn =
        PlaceText<QPushButton>(this, "CompListBtn", "Co&mpatibility list", {40, 204, 185, 25});
    CompListBtn->setAutoDefault(false);

    DividerShape = Place<QFrame>(this, "DividerShape", {240, 8, 2, 232});
    DividerShape->setFrameShape(QFrame::VLine);
    DividerShape->setFrameShadow(QFrame::Sunken);

    AppearanceLbl = PlaceHeading(this, "AppearanceLbl", "Appearance", {256, 8, 209, 13});
    LanguageLbl = PlaceText<QLabel>(this, "LanguageLbl", "Language:", {256, 28, 68, 13});
    LanguageCB = Place<QComboBox>(this, "LanguageCB", {328, 24, 137, 21});
    SetNamedBy(*LanguageCB, "LanguageLbl");
    LanguageLbl->setBuddy(LanguageCB);
    LargeFileIconsCB =
        PlaceText<QCheckBox>(this, "LargeFileIconsCB", "&Large file icons", {256, 52, 209, 17});
    SortLbl = PlaceHeading(this, "SortLbl", "Sorting", {256, 84, 209, 13});
    Sort1Lbl = PlaceText<QLabel>(this, "Sort1Lbl", "Sort by:", {256, 104, 68, 13});
    Sort1CB = Place<QComboBox>(this, "Sort1CB", {328, 100, 137, 21});
    SetNamedBy(*Sort1CB, "Sort1Lbl");
    Sort1Lbl->setBuddy(Sort1CB);
    Sort2Lbl = PlaceText<QLabel>(this, "Sort2Lbl", "Then by:", {256, 128, 68, 13});
    Sort2CB = Place<QComboBox>(this, "Sort2CB", {328, 124, 137, 21});
    SetNamedBy(*Sort2CB, "Sort2Lbl");
    Sort2Lbl->setBuddy(Sort2CB);
    Sort3Lbl = PlaceText<QLabel>(this, "Sort3Lbl", "Then by:", {256, 152, 68, 13});
    Sort3CB = Place<QComboBox>(this, "Sort3CB", {328, 148, 137, 21});
    SetNamedBy(*Sort3CB, "Sort3Lbl");
    Sort3Lbl->setBuddy(Sort3CB);
    NaturalSortCB = PlaceText<QCheckBox>(this, "NaturalSortCB", "Natural &order (2 before 10)",
                                         {256, 176, 209, 17});

    HelpBtn = PlaceText<QPushButton>(this, "HelpBtn", "Help", {8, 248, 75, 25});
    HelpBtn->setAutoDefault(false);
    OKBtn = PlaceText<QPushButton>(this, "OKBtn", "OK", {310, 248, 75, 25});
    OKBtn->setDefault(true);
    CancelBtn = PlaceText<QPushButton>(this, "CancelBtn", "Cancel", {390, 248, 75, 25});
    CancelBtn->setAutoDefault(false);

    QWidget* previous = nullptr;
    for (QWidget* next : std::initializer_list<QWidget*>{
             PlayerDriveCB, UsingFATRB, SortingByFilenameRB, Only83FileNamesCB,
             SortingByFileCreationTimeRB, ProbeBtn, CompListBtn, LanguageCB, LargeFileIconsCB,
             Sort1CB, Sort2CB, Sort3CB, NaturalSortCB, HelpBtn, OKBtn, CancelBtn}) {
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    }

    for (QRadioButton* radio : {UsingFATRB, SortingByFilenameRB,
                                static_cast<QRadioButton*>(SortingByFileCreationTimeRB)}) {
        connect(radio, &QRadioButton::toggled, this, &SettingsDialog::PlayerTypeChange);
    }
    connect(ProbeBtn, &QPushButton::clicked, this, &SettingsDialog::ProbeBtnClick);
    connect(CompListBtn, &QPushButton::clicked, this, &SettingsDialog::CompListBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &SettingsDialog::HelpBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &SettingsDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &SettingsDialog::CancelBtnClick);
    connect(PlayerDriveCB, &QComboBox::currentTextChanged, PlayerDriveCB, &QWidget::setToolTip);
}

void SettingsDialog::FormCreate() {
    for (const std::string& name : GetLanguageNames()) {
        LanguageCB->addItem(CatalogueText(name));
    }

    driveChoices_ = PlayerDriveChoices(fs_, ReadVolumeLabels());
    QStringList drives;
    for (const PlayerDriveChoice& choice : driveChoices_) {
        drives.append(CatalogueText(choice.text));
    }
    PlayerDriveCB->addItems(drives);

    for (QComboBox* list : {Sort1CB, Sort2CB, Sort3CB}) {
        FillSortKeyList(*list);
    }

    ApplyLanguage(*this, WindowClass);
    LayOut(ScaleToTexts());
    // Only the user's choice from here on: filling the list above is no choice.
    connect(PlayerDriveCB, &QComboBox::currentIndexChanged, this,
            &SettingsDialog::ShowChosenPlayer);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnOwner(*this);
        FormShow();
    }
}

// The open list shows every entry whole, however long a mount path is.
void SettingsDialog::FitDriveListPopup() {
    QAbstractItemView* view = PlayerDriveCB->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth());
}

void SettingsDialog::SelectDrive(const std::string& playerDrive) {
    const std::size_t index = ChoiceIndexFor(driveChoices_, playerDrive);
    for (auto entry = static_cast<std::size_t>(PlayerDriveCB->count());
         entry < driveChoices_.size(); ++entry) {
        PlayerDriveCB->addItem(CatalogueText(driveChoices_[entry].text));
        FitDriveListPopup();
    }
    PlayerDriveCB->setCurrentIndex(static_cast<int>(index));
}

void SettingsDialog::FormShow() {
    std::optional<std::string> player;
    if (std::exchange(offerMountedPlayer_, false)) {
        player = SingleMountedPlayer(fs_.Volumes());
    }
    SelectDrive(player.value_or(settings_.Get().PlayerDrive));
    ShowChosenPlayer();
    LanguageCB->setCurrentIndex(settings_.Get().Language);
    LargeFileIconsCB->setChecked(settings_.Get().LargeFileIcons);
    Sort1CB->setCurrentIndex(media::SortKeyNumber(settings_.Get().SortKey1));
    Sort2CB->setCurrentIndex(media::SortKeyNumber(settings_.Get().SortKey2));
    Sort3CB->setCurrentIndex(media::SortKeyNumber(settings_.Get().SortKey3));
    NaturalSortCB->setChecked(settings_.Get().NaturalSort);
    PlayerDriveCB->setFocus();
}

void SettingsDialog::SelectPlayerType(PlayerType type) {
    switch (type) {
    case PlayerType::FileNames:
        SortingByFilenameRB->setChecked(true);
        break;
    case PlayerType::CreationTimes:
        SortingByFileCreationTimeRB->setChecked(true);
        break;
    case PlayerType::DirectoryOrder:
        UsingFATRB->setChecked(true);
        break;
    }
}

const PlayerDriveChoice* SettingsDialog::ChosenDrive() const {
    const int drive = PlayerDriveCB->currentIndex();
    return drive >= 0 ? &driveChoices_.at(static_cast<std::size_t>(drive)) : nullptr;
}

void SettingsDialog::PlayerTypeChange() {
    // The mark stays while the box is disabled, and OK stores it.
    Only83FileNamesCB->setEnabled(SortingByFilenameRB->isChecked());
}

std::optional<PlayerVolume> SettingsDialog::ChosenPlayer() const {
    const int drive = PlayerDriveCB->currentIndex();
    if (drive < 0 || static_cast<std::size_t>(drive) >= driveChoices_.size()) {
        return std::nullopt;
    }
    return findPlayerVolume_(
        PlayerRootFor(driveChoices_[static_cast<std::size_t>(drive)].value, fs_));
}

// A player met before shows what it keeps; the current one, a new one and a folder without
// an identity show the settings in force, which they keep or take over on OK.
void SettingsDialog::ShowChosenPlayer() {
    const std::optional<PlayerVolume> volume = ChosenPlayer();
    const UserSettings& settings = settings_.Get();
    PlayerOrder order = settings.Order();
    const PlayerProfile* known = volume ? settings.Players.Find(volume->id) : nullptr;
    if (known != nullptr &&
        !(settings.Players.current && settings.Players.current->id == volume->id)) {
        order = {known->type, known->only83FileNames};
    }
    SelectPlayerType(order.type);
    Only83FileNamesCB->setChecked(order.only83FileNames);

    std::string label = GetLangString("NoPlayerVolume");
    if (volume) {
        const std::string& name = !volume->label.empty() ? volume->label
                                  : known != nullptr     ? known->label
                                                         : volume->label;
        label = name.empty()
                    ? FormatLangString(GetLangString("PlayerVolume"), volume->id)
                    : FormatLangString(GetLangString("NamedPlayerVolume"), name + "|" + volume->id);
    }
    PlayerVolumeLbl->SetText(CatalogueText(label));
}

void SettingsDialog::OKBtnClick() {
    const PlayerDriveChoice* choice = ChosenDrive();
    if (choice != nullptr && !ChoiceFolderExists(*choice, fs_)) {
        messages_.Show(ErrorMessage(objectName().toStdString(), "PlayerDriveNotExists"));
        return;
    }
    UserSettings edited = settings_.Get();
    edited.Language = LanguageCB->currentIndex();
    edited.LargeFileIcons = LargeFileIconsCB->isChecked();
    if (choice != nullptr) {
        edited.PlayerDrive = choice->value;
    }
    // What the dialog shows belongs to the chosen player; the one before keeps its own.
    SwitchPlayer(edited, ChosenPlayer());
    edited.PlayerType = UsingFATRB->isChecked()            ? PlayerType::DirectoryOrder
                        : SortingByFilenameRB->isChecked() ? PlayerType::FileNames
                                                           : PlayerType::CreationTimes;
    edited.Only83FileNames = Only83FileNamesCB->isChecked();
    KeepCurrentPlayer(edited);
    StoreSortKey(*Sort1CB, edited.SortKey1);
    StoreSortKey(*Sort2CB, edited.SortKey2);
    StoreSortKey(*Sort3CB, edited.SortKey3);
    edited.NaturalSort = NaturalSortCB->isChecked();
    accept();
    // Told once the dialog is closed, so what follows the settings asks over the main window.
    settings_.Apply(edited);
}

void SettingsDialog::CancelBtnClick() {
    reject();
}

void SettingsDialog::CompListBtnClick() {
    OpenWebLink(openUrl_, "Tralvo-CompList-" + GetLanguageCode());
}

// The probe tests the drive chosen in the list, which need not be the one stored yet; the
// type it finds is stored with OK, as any other change here.
void SettingsDialog::ProbeBtnClick() {
    const PlayerDriveChoice* choice = ChosenDrive();
    if (choice == nullptr || !ChoiceFolderExists(*choice, fs_)) {
        messages_.Show(ErrorMessage(objectName().toStdString(), "PlayerDriveNotExists"));
        return;
    }
    OrderProbeDialog probe(probe_, messages_, this);
    if (const std::optional<PlayerType> type = probe.Run(PlayerRootFor(choice->value, fs_))) {
        SelectPlayerType(*type);
    }
}

void SettingsDialog::HelpBtnClick() {
    RunHelp(help_, this);
}

} // namespace tralvo
