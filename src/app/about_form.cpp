#include "app/about_form.h"

#include "app/apply_language.h"
#include "app/dialog_placement.h"
#include "app/language_catalogue.h"
#include "app/one_line_label.h"
#include "app/qt_text.h"
#include "app/web_links.h"
#include "app/window_font.h"
#include "panes/icons.h"
#include "panes/picture_box.h"

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <utility>

namespace tralvo {

namespace {

constexpr const char* WindowClass = "TAboutForm";
constexpr const char* VersionRecordResource = ":/version/version.ini";

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
constexpr QSize DesignButton(75, 25);
constexpr int ButtonPadding = 16; // caption width + this is a button that fits

OneLineLabel* PlaceLine(QWidget* parent, const char* name) {
    auto* label = new OneLineLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    SetTag(*label, -1); // the version record's texts, not the catalogue's
    return label;
}

QLabel* PlaceNote(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

int CaptionWidth(const QPushButton& button) {
    return button.fontMetrics().size(Qt::TextShowMnemonic, button.text()).width();
}

// The web link and the help report their own failures, or none (a browser that does not
// start); nothing they throw may leave a handler.
template <typename Action>
void RunUnreported(Action&& action) {
    try {
        action();
    } catch (...) {
    }
}

} // namespace

std::optional<std::string> ProgramVersionRecord() {
    QFile record(QString::fromLatin1(VersionRecordResource));
    if (!record.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return record.readAll().toStdString();
}

TAboutForm::TAboutForm(HelpHandler help, UrlOpener openUrl, TExeInfo exeInfo, QWidget* parent)
    : QDialog(parent), help_(std::move(help)), openUrl_(std::move(openUrl)),
      exeInfo_(std::move(exeInfo)) {
    setObjectName(QStringLiteral("AboutForm"));
    // A dialog border with only the close box: no help button, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("About Tralvo"));
    CreateControls();
    FormCreate();
}

TAboutForm::UrlOpener TAboutForm::SystemUrlOpener() {
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void TAboutForm::CreateControls() {
    ImageImg = new PictureBox(ApplicationIcon(), this);
    ImageImg->setObjectName(QStringLiteral("ImageImg"));
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
    connect(UpdatesBtn, &QPushButton::clicked, this, &TAboutForm::UpdatesBtnClick);
    connect(LicenseBtn, &QPushButton::clicked, this, &TAboutForm::LicenseBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &TAboutForm::OKBtnClick);
}

void TAboutForm::FormCreate() {
    // The record's texts are bytes as the build wrote them: UTF-8, like the catalogue.
    TralvoLbl->SetText(TralvoLbl->text() + QLatin1Char(' ') +
                       CatalogueText(exeInfo_.ProductVersion()));
    CopyrightLbl->SetText(CatalogueText(exeInfo_.LegalCopyright()));
    ApplyLanguage(*this, WindowClass);
    FitToTexts();
}

void TAboutForm::FitToTexts() {
    const int textWidth = std::clamp(std::max(TralvoLbl->TextWidth(), CopyrightLbl->TextWidth()),
                                     DesignTextWidth, MaxTextWidth);
    const int line = std::max(
        {DesignLine, TralvoLbl->fontMetrics().height(), CopyrightLbl->fontMetrics().height()});
    const int buttonHeight = std::max(DesignButton.height(), OKBtn->sizeHint().height());

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
        return std::min(CaptionWidth(*button) + ButtonPadding, textWidth);
    };
    place(TranslationLbl, textWidth,
          std::max(DesignTranslationHeight, TranslationLbl->heightForWidth(textWidth)), 4);
    place(UpdatesBtn, fitted(UpdatesBtn), buttonHeight, 8);
    place(LicenseLbl, textWidth,
          std::max(DesignLicenseHeight, LicenseLbl->heightForWidth(textWidth)), 4);
    place(LicenseBtn, fitted(LicenseBtn), buttonHeight, 5);

    const int okWidth = std::max(DesignButton.width(), CaptionWidth(*OKBtn) + ButtonPadding);
    const int right = TextLeft + textWidth;
    OKBtn->setGeometry(right - okWidth, top, okWidth, buttonHeight);
    setFixedSize(right + Margin, OKBtn->geometry().bottom() + 1 + Margin);
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnOwner(*this);
        OKBtn->setFocus();
    }
}

void TAboutForm::OKBtnClick() {
    accept();
}

void TAboutForm::UpdatesBtnClick() {
    const std::string link = MakerWebLink("Tralvo-" + GetLanguageCode());
    RunUnreported([&] {
        if (openUrl_) {
            openUrl_(QUrl::fromEncoded(QByteArray::fromStdString(link)));
        }
    });
}

void TAboutForm::LicenseBtnClick() {
    RunUnreported([this] {
        if (help_) {
            help_(this);
        }
    });
}

} // namespace tralvo
