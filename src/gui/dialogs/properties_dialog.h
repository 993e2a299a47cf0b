#pragma once

#include <QDialog>

class QPushButton;

namespace tralvo {

namespace media {
class SoundFile;
}

class OneLineLabel;
class PictureBox;

// The tags of one audio file: file name with its kind, artist, title, album with track
// number, year and comment. Made when first opened, then kept and shown modally each time.
class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PropertiesDialog(QWidget* parent = nullptr);

    // Fills the value labels from file and shows the dialog; returns when it is closed.
    void Show(const media::SoundFile& file);

public slots:
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void FitToFont();
    void Fill(const media::SoundFile& file);

    PictureBox* ImageImg = nullptr;
    OneLineLabel* FileNameLbl = nullptr;
    OneLineLabel* ArtistDescLbl = nullptr;
    OneLineLabel* ArtistLbl = nullptr;
    OneLineLabel* TitleDescLbl = nullptr;
    OneLineLabel* TitleLbl = nullptr;
    OneLineLabel* AlbumTrackNumberDescLbl = nullptr;
    OneLineLabel* AlbumTrackNumberLbl = nullptr;
    OneLineLabel* YearDescLbl = nullptr;
    OneLineLabel* YearLbl = nullptr;
    OneLineLabel* CommentDescLbl = nullptr;
    OneLineLabel* CommentLbl = nullptr;
    QPushButton* OKBtn = nullptr;
};

} // namespace tralvo
