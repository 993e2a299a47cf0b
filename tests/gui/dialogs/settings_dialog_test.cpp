#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "i18n/language_catalogue.h"
#include "settings/settings_store.h"
#include "support/fake_file_system.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

namespace tralvo {
namespace {

// One mounted player volume; folder checks are counted, so a test sees what OK checked.
class FakeFolders final : public test::FakeFileSystem {
public:
    FakeFolders() {
        currentFolder = "/";
        volumeOf = {{currentFolder, "/"}, {programPath, "/"}};
        volumes = {{"/media/PLAYER", "vfat", "/dev/sdz1"}};
        folders = {"/media/PLAYER"};
    }

    bool FolderExists(const std::string& path) override {
        ++folderChecks;
        return FakeFileSystem::FolderExists(path);
    }

    int folderChecks = 0;
};

constexpr std::string_view Strings =
    "[Language0]\nName=English\nCode=EN\n[Language1]\nName=Deutsch\nCode=DE\n"
    "[Language0-Strings]\nError=Error\nPlayerDriveNotExists=No drive\nDrive=Drive\n";

// Every field away from its default, so that a store of anything shows.
UserSettings Edited() {
    UserSettings config;
    config.Language = 1;
    config.LargeFileIcons = false;
    config.PlayerDrive = "@";
    config.PlayerType = PlayerType::FileNames;
    config.Only83FileNames = true;
    config.SortKey1 = media::SortKey::Year;
    config.SortKey2 = media::SortKey::Comment;
    config.SortKey3 = media::SortKey::TrackNumber;
    config.NaturalSort = true;
    return config;
}

void ExpectSettings(const UserSettings& actual, const UserSettings& expected) {
    EXPECT_EQ(actual.Language, expected.Language);
    EXPECT_EQ(actual.LargeFileIcons, expected.LargeFileIcons);
    EXPECT_EQ(actual.PlayerDrive, expected.PlayerDrive);
    EXPECT_EQ(actual.PlayerType, expected.PlayerType);
    EXPECT_EQ(actual.Only83FileNames, expected.Only83FileNames);
    EXPECT_EQ(actual.SortKey1, expected.SortKey1);
    EXPECT_EQ(actual.SortKey2, expected.SortKey2);
    EXPECT_EQ(actual.SortKey3, expected.SortKey3);
    EXPECT_EQ(actual.NaturalSort, expected.NaturalSort);
}

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        OpenCatalogue("Short names", "By creation time");
        Settings = Edited();
    }
    void TearDown() override { Catalogue().Close(); }

    void OpenCatalogue(std::string_view only83, std::string_view creationTime, int languages = 2) {
        Catalogue().Open(folder.WriteFile(
            "Tralvo.lng", "[Languages]\nCount=" + std::to_string(languages) + "\n" +
                              std::string(Strings) + "[Language0-Properties]\n" +
                              "TSettingsForm.Only83FileNamesCB.Caption=" + std::string(only83) +
                              "\nTSettingsForm.SortingByFileCreationTimeRB.Caption=" +
                              std::string(creationTime) + "\n"));
    }

    void Show() {
        form = std::make_unique<SettingsDialog>(
            settings, messages, [this](QWidget* sender) { helpSenders.push_back(sender); },
            [this](const QUrl& url) { opened.push_back(url.toString().toStdString()); }, fs);
        form->show();
    }

    template <typename Widget = QWidget>
    Widget& Control(const char* name) {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }
    QComboBox& List(const char* name) { return Control<QComboBox>(name); }
    QAbstractButton& Button(const char* name) { return Control<QAbstractButton>(name); }

    void Press(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &press);
    }

    test::TempFolder folder;
    test::ScriptedMessages messages;
    UserSettings Settings;
    GuiSettings settings{Settings};
    FakeFolders fs;
    std::unique_ptr<SettingsDialog> form;
    std::vector<QWidget*> helpSenders;
    std::vector<std::string> opened;
};

TEST_F(SettingsDialogTest, HasItsControlsInTabOrderWithOkAsDefaultAndAFixedSize) {
    Show();
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(Control<QPushButton>("OKBtn").isDefault());
    EXPECT_NE(dynamic_cast<QCheckBox*>(&Button("Only83FileNamesCB")), nullptr);
    EXPECT_NE(dynamic_cast<QRadioButton*>(&Button("SortingByFileCreationTimeRB")), nullptr);
    EXPECT_EQ(List("PlayerDriveCB").itemText(2), "Drive /media/PLAYER (/media/PLAYER)");
    EXPECT_EQ(List("Sort3CB").count(), 7);

    const std::vector<std::string> tabOrder = {"PlayerDriveCB",
                                               "UsingFATRB",
                                               "SortingByFilenameRB",
                                               "Only83FileNamesCB",
                                               "SortingByFileCreationTimeRB",
                                               "ProbeBtn",
                                               "CompListBtn",
                                               "LanguageCB",
                                               "LargeFileIconsCB",
                                               "Sort1CB",
                                               "Sort2CB",
                                               "Sort3CB",
                                               "NaturalSortCB",
                                               "HelpBtn",
                                               "OKBtn",
                                               "CancelBtn"};
    std::vector<std::string> tabbed;
    for (QWidget* widget = form->nextInFocusChain(); widget != form.get();
         widget = widget->nextInFocusChain()) {
        if (widget->parentWidget() == form.get() && (widget->focusPolicy() & Qt::TabFocus) != 0) {
            tabbed.push_back(widget->objectName().toStdString());
        }
    }
    EXPECT_EQ(tabbed, tabOrder);
}

TEST_F(SettingsDialogTest, ShowingSetsEveryControlAndTheShortNamesBoxFollowsThePlayerType) {
    Show();
    EXPECT_EQ(List("PlayerDriveCB").currentIndex(), 1);
    EXPECT_TRUE(Button("SortingByFilenameRB").isChecked());
    QAbstractButton& only83 = Button("Only83FileNamesCB");
    EXPECT_TRUE(only83.isEnabled());
    EXPECT_TRUE(only83.isChecked());
    EXPECT_EQ(List("LanguageCB").currentIndex(), 1);
    EXPECT_FALSE(Button("LargeFileIconsCB").isChecked());
    EXPECT_EQ(List("Sort1CB").currentIndex(), 4);
    EXPECT_EQ(List("Sort2CB").currentIndex(), 5);
    EXPECT_EQ(List("Sort3CB").currentIndex(), 6);
    EXPECT_TRUE(Button("NaturalSortCB").isChecked());

    Button("SortingByFileCreationTimeRB").click();
    EXPECT_FALSE(only83.isEnabled());
    EXPECT_TRUE(only83.isChecked());

    form->hide();
    Settings.PlayerType = PlayerType::DirectoryOrder;
    form->show();
    EXPECT_TRUE(Button("UsingFATRB").isChecked());
    EXPECT_FALSE(only83.isEnabled());
    EXPECT_TRUE(only83.isChecked());
}

TEST_F(SettingsDialogTest, AFirstRunOffersTheOnePlayerMountedOnceAndOnlyOnce) {
    form = std::make_unique<SettingsDialog>(settings, messages, nullptr, nullptr, fs);
    form->OfferMountedPlayer();
    form->show();
    EXPECT_EQ(List("PlayerDriveCB").currentIndex(), 2); // /media/PLAYER, not the stored "@"
    form->hide();
    form->show();
    EXPECT_EQ(List("PlayerDriveCB").currentIndex(), 1);

    // With a second stick the user chooses: the stored drive stays selected.
    fs.volumes.push_back({"/media/STICK", "exfat", "/dev/sdy1"});
    form->hide();
    form->OfferMountedPlayer();
    form->show();
    EXPECT_EQ(List("PlayerDriveCB").currentIndex(), 1);
}

TEST_F(SettingsDialogTest, OkStoresEveryControlAndNeverChecksTheProcessVolumes) {
    Settings = UserSettings{};
    Show();
    fs.folders.clear();
    fs.folderChecks = 0;
    List("PlayerDriveCB").setCurrentIndex(0);
    List("LanguageCB").setCurrentIndex(1);
    Button("LargeFileIconsCB").click();
    Button("SortingByFilenameRB").click();
    Button("Only83FileNamesCB").click();
    Button("SortingByFileCreationTimeRB").click(); // disables the marked box
    List("Sort1CB").setCurrentIndex(0);
    List("Sort2CB").setCurrentIndex(1);
    List("Sort3CB").setCurrentIndex(6);
    Button("NaturalSortCB").click();
    Press(Qt::Key_Return);

    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.asked.empty());
    UserSettings expected = Edited();
    expected.PlayerDrive = "?";
    expected.PlayerType = PlayerType::CreationTimes;
    expected.SortKey1 = media::SortKey::FileName;
    expected.SortKey2 = media::SortKey::Title;
    ExpectSettings(Settings, expected);

    form->show();
    List("PlayerDriveCB").setCurrentIndex(1);
    Button("OKBtn").click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(Settings.PlayerDrive, "@");
    EXPECT_EQ(fs.folderChecks, 0);
}

// What follows the settings hears of OK only, once the dialog is closed, with what was before.
TEST_F(SettingsDialogTest, OnlyOkTellsTheChangeAndOnlyOnceTheDialogIsClosed) {
    Settings = UserSettings{};
    std::vector<UserSettings> before;
    bool closedWhenTold = false;
    QObject::connect(&settings, &GuiSettings::Changed, [&](const UserSettings& old) {
        before.push_back(old);
        closedWhenTold = !form->isVisible();
    });
    Show();
    Button("SortingByFilenameRB").click();
    Button("CancelBtn").click();
    EXPECT_TRUE(before.empty());

    form->show();
    Button("SortingByFilenameRB").click();
    Button("OKBtn").click();
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].PlayerType, PlayerType::DirectoryOrder);
    EXPECT_EQ(settings.Get().PlayerType, PlayerType::FileNames);
    EXPECT_TRUE(closedWhenTold);
}

TEST_F(SettingsDialogTest, AVolumeThatIsGoneKeepsTheDialogOpenAndStoresNothing) {
    for (const std::string stored : {"/media/OLD", "E"}) {
        Settings.PlayerDrive = stored;
        Show();
        EXPECT_EQ(List("PlayerDriveCB").currentText().toStdString(),
                  stored == "E" ? "Drive E:\\" : "Drive /media/OLD (/media/OLD)");
        List("LanguageCB").setCurrentIndex(0);
        messages.asked.clear();
        Button("OKBtn").click();

        ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"PlayerDriveNotExists"});
        EXPECT_EQ(messages.asked[0].captionKey, "Error");
        EXPECT_EQ(messages.asked[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.asked[0].parent, "SettingsForm");
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Settings.Language, 1);
        EXPECT_EQ(Settings.PlayerDrive, stored);
    }
    fs.folders.insert("/media/OLD/");
    Settings.PlayerDrive = "/media/OLD";
    Show();
    Button("OKBtn").click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(SettingsDialogTest, CancelAndEscapeStoreNothingAndTheNextShowingStartsAfresh) {
    Show();
    for (const bool escape : {false, true}) {
        EXPECT_EQ(List("LanguageCB").currentIndex(), 1);
        List("LanguageCB").setCurrentIndex(0);
        Button("UsingFATRB").click();
        Button("NaturalSortCB").click();
        escape ? Press(Qt::Key_Escape) : Button("CancelBtn").click();
        EXPECT_EQ(form->result(), QDialog::Rejected);
        EXPECT_FALSE(form->isVisible());
        ExpectSettings(Settings, Edited());
        form->show();
    }
}

TEST_F(SettingsDialogTest, ListsWithoutASelectionKeepTheSortKeysButStoreNoLanguage) {
    OpenCatalogue("Short names", "By creation time", 0);
    Settings.SortKey1 = media::SortKey::CreationTime; // creation time, which the lists do not offer
    Settings.SortKey2 = media::SortKey::ShortFileName; // short name
    Show();
    EXPECT_EQ(List("Sort1CB").currentIndex(), -1);
    EXPECT_EQ(List("LanguageCB").count(), 0);
    Button("OKBtn").click();
    EXPECT_EQ(Settings.SortKey1, media::SortKey::CreationTime);
    EXPECT_EQ(Settings.SortKey2, media::SortKey::ShortFileName);
    EXPECT_EQ(Settings.SortKey3, media::SortKey::TrackNumber);
    EXPECT_EQ(Settings.Language, -1);
}

TEST_F(SettingsDialogTest, TheLinkAndHelpGoToTheirHandlers) {
    Catalogue().SetCurrentLanguage(1);
    Show();
    Button("CompListBtn").click();
    EXPECT_EQ(opened,
              std::vector<std::string>{"https://www.tralvo.org/?LinkID=Tralvo-CompList-DE"});
    Button("HelpBtn").click();
    EXPECT_EQ(helpSenders, std::vector<QWidget*>{form.get()});
}

TEST_F(SettingsDialogTest, TheNaturalOrderBoxSitsUnderTheSortListsNamedByItsCaption) {
    Show();
    const QRect box = Control("NaturalSortCB").geometry();
    EXPECT_EQ(Control("NaturalSortCB").accessibleName(), "Natural order (2 before 10)");
    EXPECT_EQ(box.left(), Control("Sort3Lbl").geometry().left());
    EXPECT_GT(box.top(), Control("Sort3CB").geometry().bottom());
    EXPECT_LT(box.bottom(), Control("OKBtn").geometry().top());
    EXPECT_GE(box.width(), Control("NaturalSortCB").sizeHint().width());
}

TEST_F(SettingsDialogTest, ALineBreakInACaptionPushesTheControlsBelowItDown) {
    Show();
    const QRect only83 = Control("Only83FileNamesCB").geometry();
    const QRect creationTime = Control("SortingByFileCreationTimeRB").geometry();
    const QRect compList = Control("CompListBtn").geometry();

    OpenCatalogue("Short\\nnames", "By creation time");
    Show();
    EXPECT_EQ(Control("Only83FileNamesCB").height(), 2 * only83.height());
    EXPECT_EQ(Control("SortingByFileCreationTimeRB").geometry(),
              creationTime.translated(0, only83.height()));
    EXPECT_EQ(Control("CompListBtn").geometry(), compList.translated(0, only83.height()));

    // The whole control takes clicks, also on the second line.
    QWidget& box = Control("Only83FileNamesCB");
    const QPoint secondLine(box.width() - 2, box.height() - 2);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, secondLine, box.mapToGlobal(secondLine), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&box, &click);
    }
    EXPECT_FALSE(Button("Only83FileNamesCB").isChecked());

    OpenCatalogue("Short\\nnames", "By creation\\ntime");
    Show();
    EXPECT_EQ(Control("CompListBtn").geometry(),
              compList.translated(0, only83.height() + creationTime.height()));
    EXPECT_LE(Control("CompListBtn").geometry().bottom(), Control("OKBtn").geometry().top());
}

} // namespace
} // namespace tralvo
