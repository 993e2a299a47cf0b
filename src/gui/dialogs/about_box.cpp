#include "gui/dialogs/about_box.h"

#include "gui/panes/icons.h"
#include "gui/panes/picture_box.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/dialog_fit.h"
#include "gui/widgets/dialog_placement.h"
#include "gui/widgets/one_line_label.h"
#include "gui/widgets/widget_names.h"
#include "i18n/language_catalogue.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <utility>

namespace tralvo {

namespace {

constexpr const char* WindowClass = "TAboutForm";

// The design in Tahoma 8 pt at 96 dpi: a client area of 261 x 213 pixels, the 32-pixel icon
// at the top left and a column of texts and buttons beside it. The column widens for a
// product or copyright line longer than its design width, up to MaxTextWidth, and every
// row grows to the height its text needs.
constexpr int Margin = 8;
constexpr int PictureSize = 32;
constexpr int TextLeft = 48;
constexpr int DesignTextWidth = 205;
constexpr int MaxTextWidth = 360;
constexpr int DesignLine = 13;
constexpr int DesignTranslationHeight = 26;
constexpr int DesignLicenseHeight = 39;

OneLineLabel* PlaceLine(QWidget* parent, const char* name) {
    auto* label = Named(new OneLineLabel(parent), name);
    SetTag(*label, -1); // the version record's texts, not the catalogue's
    return label;
}

QLabel* PlaceNote(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const char* text) {
    auto* button = Named(new QPushButton(QString::fromLatin1(text), parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

std::optional<std::string> ProgramVersionRecord() {
    return std::string(ProgramVersionRecordText());
}

AboutBox::AboutBox(HelpHandler help, UrlOpener openUrl, VersionRecord exeInfo, QWidget* parent)
    : QDialog(parent), help_(std::move(help)), openUrl_(std::move(openUrl)),
      exeInfo_(std::move(exeInfo)) {
    SetUpFixedDialog(*this, "AboutForm", QStringLiteral("About Tralvo"));
    CreateControls();
    FormCreate();
}

void AboutBox::CreateControls() {
    ImageImg = Named(new PictureBox(ApplicationIcon(), this), "ImageImg");
    TralvoLbl = PlaceLine(this, "TralvoLbl");
    TralvoLbl->setText(QStringLiteral("Tralvo!"));
    QFont bold = TralvoLbl->font();
    bold.setBold(true);
    TralvoLbl->setFont(bold);
    CopyrightLbl = PlaceLine(this, "CopyrightLbl");
    TranslationLbl = PlaceNote(this, "TranslationLbl");
    UpdatesBtn = PlaceButton(this, "UpdatesBtn", "Check for updates");
    LicenseLbl = PlaceNote(this, "LicenseLbl");
    LicenseBtn = PlaceButton(this, "LicenseBtn", "License");
    OKBtn = PlaceButton(this, "OKBtn", "OK");
    OKBtn->setDefault(true);

    setTabOrder(UpdatesBtn, LicenseBtn);
    setTabOrder(LicenseBtn, OKBtn);
    connect(UpdatesBtn, &QPushButton::clicked, this, &AboutBox::UpdatesBtnClick);
    connect(LicenseBtn, &QPushButton::clicked, this, &AboutBox::LicenseBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &AboutBox::OKBtnClick);
}

void AboutBox::FormCreate() {
    // The record's texts are bytes as the build wrote them: UTF-8, like the catalogue.
    TralvoLbl->SetText(TralvoLbl->text() + QLatin1Char(' ') +
                       CatalogueText(exeInfo_.ProductVersion()));
    CopyrightLbl->SetText(CatalogueText(exeInfo_.LegalCopyright()));
    ApplyLanguage(*this, WindowClass);
    FitToTexts();
}

void AboutBox::FitToTexts() {
    const int textWidth = std::clamp(std::max(TralvoLbl->TextWidth(), CopyrightLbl->TextWidth()),
                                     DesignTextWidth, MaxTextWidth);
    const int line = std::max(
        {DesignLine, TralvoLbl->fontMetrics().height(), CopyrightLbl->fontMetrics().height()});
    const QSize ok = FittedButtonSize(*OKBtn);
    const int buttonHeight = ok.height();

    ImageImg->setGeometry(Margin, Margin, PictureSize, PictureSize);
    TralvoLbl->setGeometry(TextLeft, Margin, textWidth, line);
    CopyrightLbl->setGeometry(TextLeft, TralvoLbl->geometry().bottom() + 4, textWidth, line);
    int top = CopyrightLbl->geometry().bottom() + 1 + 7;
    const auto place = [&top, textWidth](QWidget* widget, int width, int height, int gapAfter) {
        widget->setGeometry(TextLeft, top, width, height);
        top += height + gapAfter;
    };
    // The two link buttons shrink to their captions but never grow past the column.
    const auto fitted = [textWidth](const QPushButton* button) {
        return std::min(FittingButtonWidth(*button), textWidth);
    };
    place(TranslationLbl, textWidth,
          std::max(DesignTranslationHeight, TranslationLbl->heightForWidth(textWidth)), 4);
    place(UpdatesBtn, fitted(UpdatesBtn), buttonHeight, 8);
    place(LicenseLbl, textWidth,
          std::max(DesignLicenseHeight, LicenseLbl->heightForWidth(textWidth)), 4);
    place(LicenseBtn, fitted(LicenseBtn), buttonHeight, 5);

    EndWithButton(*this, *OKBtn, ok, TextLeft + textWidth, top, Margin);
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnOwner(*this);
        OKBtn->setFocus();
    }
}

void AboutBox::OKBtnClick() {
    accept();
}

void AboutBox::UpdatesBtnClick() {
    OpenWebLink(openUrl_, "Tralvo-" + GetLanguageCode());
}

void AboutBox::LicenseBtnClick() {
    RunHelp(help_, this);
}

} // namespace tralvo
