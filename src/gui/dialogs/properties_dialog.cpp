#include "gui/dialogs/properties_dialog.h"

#include "gui/panes/icons.h"
#include "gui/panes/picture_box.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/dialog_fit.h"
#include "gui/widgets/dialog_placement.h"
#include "gui/widgets/one_line_label.h"
#include "gui/widgets/widget_names.h"
#include "i18n/language_catalogue.h"
#include "media/sound_file.h"
#include "platform/paths.h"

#include <QPushButton>
#include <QShowEvent>
#include <QStringDecoder>
#include <algorithm>
#include <string>

namespace tralvo {

namespace {

constexpr const char* WindowClass = "TPropertiesForm";

// The design in Tahoma 8 pt at 96 dpi: a 24-pixel picture at the top left, the file name
// beside it, then each caption above its value, every label 301 pixels wide.
constexpr int Margin = 8;
constexpr int PictureSize = 24;
constexpr int TextLeft = 40;
constexpr int ValueWidth = 301;
constexpr int DesignLine = 13;
constexpr int CaptionToValue = 3;
constexpr int PairGap = 11;
constexpr int ValueToButton = 15;

// Fixed marks, not translated.
const char* KindSuffix(media::SoundKind kind) {
    switch (kind) {
    case media::KindMp3:
        return "(MP3)";
    case media::KindOggVorbis:
        return "(Ogg)";
    case media::KindWma:
        return "(WMA)";
    case media::KindWav:
        return "(WAV)";
    case media::KindUnknown:
        break;
    }
    return "";
}

QString LangText(const char* key) {
    return CatalogueText(GetLangString(key));
}

// Tags are one byte per character; Vorbis comments are UTF-8 by their format, which shows
// as such when the bytes are valid UTF-8.
QString TagText(const std::string& text, bool vorbis) {
    const QByteArray bytes =
        QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
    if (vorbis) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString decoded = utf8.decode(bytes);
        if (!utf8.hasError()) {
            return decoded;
        }
    }
    return QString::fromLatin1(bytes);
}

QString KnownOr(const std::string& text, bool vorbis, const QString& fallback) {
    return text.empty() ? fallback : TagText(text, vorbis);
}

OneLineLabel* PlaceLabel(QWidget* parent, const char* name, bool bold,
                         Qt::TextElideMode elide = Qt::ElideRight) {
    auto* label = Named(new OneLineLabel(parent, elide), name);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

PropertiesDialog::PropertiesDialog(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "PropertiesForm", QStringLiteral("Track properties"));
    CreateControls();
    FormCreate();
}

void PropertiesDialog::CreateControls() {
    ImageImg = Named(new PictureBox(ToolbarIcon(1), this), "ImageImg");
    FileNameLbl = PlaceLabel(this, "FileNameLbl", true, Qt::ElideMiddle);
    ArtistDescLbl = PlaceLabel(this, "ArtistDescLbl", true);
    ArtistLbl = PlaceLabel(this, "ArtistLbl", false);
    TitleDescLbl = PlaceLabel(this, "TitleDescLbl", true);
    TitleLbl = PlaceLabel(this, "TitleLbl", false);
    AlbumTrackNumberDescLbl = PlaceLabel(this, "AlbumTrackNumberDescLbl", true);
    AlbumTrackNumberLbl = PlaceLabel(this, "AlbumTrackNumberLbl", false);
    YearDescLbl = PlaceLabel(this, "YearDescLbl", true);
    YearLbl = PlaceLabel(this, "YearLbl", false);
    CommentDescLbl = PlaceLabel(this, "CommentDescLbl", true);
    CommentLbl = PlaceLabel(this, "CommentLbl", false);

    OKBtn = Named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &PropertiesDialog::OKBtnClick);
}

void PropertiesDialog::FormCreate() {
    ApplyLanguage(*this, WindowClass);
    const QString colon = QStringLiteral(":");
    ArtistDescLbl->SetText(LangText("Artist") + colon);
    TitleDescLbl->SetText(LangText("Title") + colon);
    AlbumTrackNumberDescLbl->SetText(LangText("Album") + QStringLiteral(" (") +
                                     LangText("TrackNumber") + QStringLiteral("):"));
    YearDescLbl->SetText(LangText("Year") + colon);
    CommentDescLbl->SetText(LangText("Comment") + colon);
    FitToFont();
}

// Every line gets the height the font in force needs; the widths stay as designed, and a
// text longer than its label is shortened rather than widening the dialog.
void PropertiesDialog::FitToFont() {
    QFont bold = font();
    bold.setBold(true);
    const int line = std::max({DesignLine, fontMetrics().height(), QFontMetrics(bold).height()});

    ImageImg->setGeometry(Margin, Margin, PictureSize, PictureSize);
    FileNameLbl->setGeometry(TextLeft, Margin + std::max(0, (PictureSize - line) / 2), ValueWidth,
                             line);
    int top = std::max(Margin + PictureSize, FileNameLbl->geometry().bottom() + 1) + Margin;
    int bottom = top;
    for (auto [caption, value] : {std::pair{ArtistDescLbl, ArtistLbl},
                                  {TitleDescLbl, TitleLbl},
                                  {AlbumTrackNumberDescLbl, AlbumTrackNumberLbl},
                                  {YearDescLbl, YearLbl},
                                  {CommentDescLbl, CommentLbl}}) {
        caption->setGeometry(TextLeft, top, ValueWidth, line);
        value->setGeometry(TextLeft, top + line + CaptionToValue, ValueWidth, line);
        bottom = value->geometry().bottom() + 1;
        top = bottom + PairGap;
    }

    EndWithButton(*this, *OKBtn, FittedButtonSize(*OKBtn), TextLeft + ValueWidth,
                  bottom + ValueToButton, Margin);
}

void PropertiesDialog::Show(const media::SoundFile& file) {
    Fill(file);
    exec();
}

void PropertiesDialog::Fill(const media::SoundFile& file) {
    const bool vorbis = file.Kind() == media::KindOggVorbis;
    const std::string& path = file.FileName();
    FileNameLbl->SetText(PathText(std::string(BaseName(path))) + QLatin1Char(' ') +
                         QString::fromLatin1(KindSuffix(file.Kind())));

    const QString unknown = LangText("Unknown");
    TitleLbl->SetText(KnownOr(file.Title(), vorbis, unknown));
    ArtistLbl->SetText(KnownOr(file.Artist(), vorbis, unknown));
    YearLbl->SetText(KnownOr(file.Year(), vorbis, unknown));
    const QString track = file.TrackNumber() == 0 ? unknown : QString::number(file.TrackNumber());
    AlbumTrackNumberLbl->SetText(KnownOr(file.Album(), vorbis, unknown) + QStringLiteral(" (") +
                                 track + QStringLiteral(")"));
    CommentLbl->SetText(KnownOr(file.Comment(), vorbis, LangText("None")));
}

void PropertiesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnOwner(*this);
        OKBtn->setFocus();
    }
}

void PropertiesDialog::OKBtnClick() {
    accept();
}

} // namespace tralvo
