#pragma once

#include "gui/widgets/dialog_links.h"
#include "platform/version_record.h"

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace tralvo {

class OneLineLabel;
class PictureBox;

// The text of the version record compiled into the program; none when it has no record.
std::optional<std::string> ProgramVersionRecord();

// The about box: product name and version, the record's legal notice, a translation and a
// licence note, the updates page and the licence (the help file). Made when first opened,
// then kept and shown modally each time.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // The licence button runs help with the box as sender.
    AboutBox(HelpHandler help, UrlOpener openUrl = SystemUrlOpener(),
             VersionRecord exeInfo = VersionRecord(ProgramVersionRecord()),
             QWidget* parent = nullptr);

    const VersionRecord& ExeInfo() const { return exeInfo_; }

public slots:
    void OKBtnClick();
    void UpdatesBtnClick();
    void LicenseBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void FitToTexts();

    HelpHandler help_;
    UrlOpener openUrl_;
    VersionRecord exeInfo_;

    PictureBox* ImageImg = nullptr;
    OneLineLabel* TralvoLbl = nullptr;
    OneLineLabel* CopyrightLbl = nullptr;
    QLabel* TranslationLbl = nullptr;
    QPushButton* UpdatesBtn = nullptr;
    QLabel* LicenseLbl = nullptr;
    QPushButton* LicenseBtn = nullptr;
    QPushButton* OKBtn = nullptr;
};

} // namespace tralvo
