// The about box: the version record's texts, the updates page and the licence.
#include "gui/dialogs/about_box.h"
#include "gui/gui_settings.h"
#include "gui/main_window/main_window.h"
#include "program_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace tralvo {
namespace {

constexpr std::string_view Record = "[StringFileInfo]\n"
                                    "CompanyName=Maker\nFileDescription=Arranges tracks\n"
                                    "FileVersion=1.2.3.4\nInternalName=Inside\n"
                                    "LegalCopyright=Copyright (C) 2026 Someone\n"
                                    "LegalTradeMarks=Mark\nOriginalFileName=tralvo\n"
                                    "ProductName=Tralvo!\nProductVersion=1.2.3\nComments=Notes\n";

TEST(ExeInfo, ReadsEveryTextOfTheRecord) {
    const VersionRecord info(Record);
    EXPECT_EQ(info.CompanyName(), "Maker");
    EXPECT_EQ(info.FileDescription(), "Arranges tracks");
    EXPECT_EQ(info.FileVersion(), "1.2.3.4");
    EXPECT_EQ(info.InternalName(), "Inside");
    EXPECT_EQ(info.LegalCopyright(), "Copyright (C) 2026 Someone");
    EXPECT_EQ(info.LegalTradeMark(), "Mark");
    EXPECT_EQ(info.OriginalFileName(), "tralvo");
    EXPECT_EQ(info.ProductName(), "Tralvo!");
    EXPECT_EQ(info.ProductVersion(), "1.2.3");
    EXPECT_EQ(info.Comments(), "Notes");
}

TEST(ExeInfo, NoRecordKeepsThePlaceholderAndARecordWithoutAKeyGivesEmptyText) {
    for (const VersionRecord& unread :
         {VersionRecord(), VersionRecord(std::nullopt), VersionRecord("")}) {
        EXPECT_EQ(unread.ProductVersion(), "Updated at run-time");
        EXPECT_EQ(unread.Comments(), "Updated at run-time");
    }
    const VersionRecord keyless("[StringFileInfo]\nProductVersion=2.0\n");
    EXPECT_EQ(keyless.ProductVersion(), "2.0");
    EXPECT_EQ(keyless.LegalCopyright(), "");
    EXPECT_EQ(VersionRecord("[Other]\nLegalCopyright=x\n").LegalCopyright(), "");
}

TEST(ExeInfo, TheProgramCarriesItsProjectVersion) {
    const std::optional<std::string> record = ProgramVersionRecord();
    ASSERT_TRUE(record.has_value());
    const VersionRecord info(*record);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(QString::fromStdString(info.ProductVersion()))
                    .hasMatch())
        << info.ProductVersion();
    EXPECT_NE(info.LegalCopyright().find("Copyright"), std::string::npos);
}

class AboutTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        // Catalogue texts for the two record labels, which must not take them.
        std::string catalogue = test::ReadFile(folder / "Tralvo.lng");
        const std::string section = "[Language0-Properties]\n";
        catalogue.insert(catalogue.find(section) + section.size(),
                         "TAboutForm.TralvoLbl.Caption=Wrong\n"
                         "TAboutForm.CopyrightLbl.Caption=Wrong\n");
        folder.WriteFile("Tralvo.lng", catalogue);
        Start();
    }
    QString Text(const AboutBox& about, const char* name) {
        return about.findChild<QLabel*>(name)->text();
    }

    std::vector<QUrl> opened;
};

TEST_F(AboutTest, TheProductAndCopyrightLinesComeFromTheRecord) {
    const AboutBox about(nullptr, nullptr, VersionRecord(Record));
    EXPECT_EQ(Text(about, "TralvoLbl"), "Tralvo! 1.2.3");
    EXPECT_EQ(Text(about, "CopyrightLbl"), "Copyright (C) 2026 Someone");
    EXPECT_EQ(Text(about, "TranslationLbl"), "English texts by the Tralvo team.");
    EXPECT_EQ(about.windowTitle(), "About Tralvo");
}

TEST_F(AboutTest, TheUpdatesButtonOpensTheUpdatesPageOfTheLanguage) {
    AboutBox about(nullptr, [this](const QUrl& url) { opened.push_back(url); });
    about.findChild<QPushButton*>("UpdatesBtn")->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toString(), "https://www.tralvo.org/?LinkID=Tralvo-EN");
}

TEST_F(AboutTest, TheLicenseButtonRunsTheHelpHandlerWithTheBoxAsSender) {
    folder.WriteFile("Help-EN.html", "<html></html>");
    GuiSettings settings(Settings);
    MainWindow main(settings, messages);
    main.SetUrlOpener([this](const QUrl& url) { opened.push_back(url); });
    std::vector<QWidget*> senders;
    AboutBox about([&](QWidget* sender) {
        senders.push_back(sender);
        main.HelpBtnClick(sender);
    });
    about.findChild<QPushButton*>("LicenseBtn")->click();
    EXPECT_EQ(senders, std::vector<QWidget*>{&about});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(folder / "Help-EN.html")));
    EXPECT_TRUE(messages.asked.empty());
}

} // namespace
} // namespace tralvo
