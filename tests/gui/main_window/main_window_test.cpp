// The main window's creation, start-up checks, window state and closing, driven offscreen.
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_panel.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/widgets/anchored_panel.h"
#include "i18n/catalogue_keys.h"
#include "program_fixture.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>

namespace tralvo {
namespace {

using test::OnNextModalDialog;

class MainWindowTest : public test::MainWindowFixture {
protected:
    void WriteSettings(const std::string& text) { folder.WriteFile("Tralvo.ini", text); }
};

TEST_F(MainWindowTest, EveryCataloguedControlExistsAndShowsItsText) {
    Start();
    CreateWindows();
    for (const CatalogueComponent& component : ProgramComponents()) {
        if (component.windowClass == "TMainForm") {
            EXPECT_NE(main->findChild<QWidget*>(
                          QString::fromLatin1(component.component.data(),
                                              static_cast<qsizetype>(component.component.size()))),
                      nullptr)
                << component.component;
        }
    }
    EXPECT_EQ(main->windowTitle(), "Tralvo!");
    EXPECT_EQ(Button("TralvoBtn")->text(), "Tralvo!");
    EXPECT_EQ(Button("ExitBtn")->text(), "Exit");
    EXPECT_EQ(Control<QToolButton>("SettingsBtn").toolTip(), "Settings"); // a catalogue alias
    EXPECT_EQ(Control<QLineEdit>("PlayerStatusEB").text(), "Double-click a track to play it.");
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(MainWindowTest, GrowingTheWindowWidensThePlayerPaneAndKeepsTheButtonsRight) {
    WriteSettings("[Player]\nDrive=" + folder.path() + "\n");
    Start();
    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    const int computerWidth = Computer().width();
    const int buttonMargin =
        (&Control<AnchoredPanel>("BottomPanel"))->width() - Button("TralvoBtn")->geometry().right();
    main->resize(main->width() + 200, main->height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(Computer().width(), computerWidth);
    EXPECT_EQ((&Control<AnchoredPanel>("BottomPanel"))->width() -
                  Button("TralvoBtn")->geometry().right(),
              buttonMargin);
    EXPECT_EQ(Button("ExitBtn")->geometry().left(), Button("TralvoBtn")->geometry().left());
    EXPECT_EQ(Control<PlayerPanel>("PlayerPanel").geometry().right() + 1 + 16,
              Button("TralvoBtn")->geometry().left());
    // The splitter never makes the computer pane narrower than its design width.
    (&Control<QSplitter>("ClientSplitter"))->setSizes({10, 1000});
    EXPECT_GE(Computer().width(), 254);
}

TEST_F(MainWindowTest, FirstRunShowsTheWelcomeThenTheSettingsAndEndsWhenCancelled) {
    Start();
    ASSERT_TRUE(Settings.FirstRun);
    CreateWindows();
    bool dialogOpened = false;
    OnNextModalDialog([&](QDialog& dialog) {
        dialogOpened = dialog.objectName() == "SettingsForm";
        dialog.reject();
    });
    EXPECT_FALSE(main->StartupCheck(false));
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"FirstRunMsg"});
    EXPECT_EQ(messages.asked[0].captionKey, "FirstRun");
    EXPECT_EQ(messages.asked[0].icon, MessageIcon::Information);
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainWindowTest, AMissingPlayerAsksAndGoesOnOnceItIsConnected) {
    const std::string player = folder / "player";
    WriteSettings("[Player]\nDrive=" + player + "\n");
    Start();
    CreateWindows();
    messages.onShow = [&](const MessageRequest&) { folder.MakeFolder("player"); };
    EXPECT_TRUE(main->StartupCheck(false));
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"PlayerDriveNAMsg"});
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages.asked[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(PlayerTree()->RootDir().substr(0, player.size()), player);
}

TEST_F(MainWindowTest, AMissingPlayerOpensTheSettingsOnOkAndEndsOnCancel) {
    WriteSettings("[Player]\nDrive=" + (folder / "gone") + "\n");
    Start();
    CreateWindows();
    messages.answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
    bool dialogOpened = false;
    OnNextModalDialog([&](QDialog& dialog) {
        dialogOpened = true;
        dialog.reject();
    });
    EXPECT_FALSE(main->StartupCheck(false));
    EXPECT_TRUE(dialogOpened);
    EXPECT_FALSE(main->StartupCheck(false));
    EXPECT_EQ(messages.asked.size(), 2u);
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainWindowTest, RestoresTheLastFoldersButNoPlayerFolderOutsideThePlayer) {
    const std::string music = folder.MakeFolder("music");
    const std::string player = folder.MakeFolder("player");
    folder.MakeFolder("player/Album");
    const std::string elsewhere = folder.MakeFolder("elsewhere");
    WriteSettings("[Player]\nDrive=" + player + "\n[Window]\nLastMyComputerPath=" + music +
                  "\nLastMyPlayerPath=" + elsewhere + "\n");
    Start();
    CreateWindows();
    EXPECT_EQ(Computer().Folder(), music);
    EXPECT_NE(PlayerTree()->Path(), elsewhere);

    // The next start, with a player folder on the player.
    CloseWindows();
    Settings.Window.LastMyPlayerPath = player + "/Album";
    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    EXPECT_EQ(PlayerTree()->Path(), player + "/Album");
}

TEST_F(MainWindowTest, SavesTheWindowStateButKeepsTheNormalSizeOfAMaximisedWindow) {
    WriteSettings("[Player]\nDrive=" + folder.path() + "\n");
    Start();
    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    main->resize(700, 520);
    const int splitterPos = Computer().width();
    CloseWindows(); // the window keeps its state as it goes
    EXPECT_EQ(Settings.Window.WindowWidth, 700);
    EXPECT_EQ(Settings.Window.WindowHeight, 520);
    EXPECT_FALSE(Settings.Window.WindowMaximized);
    EXPECT_EQ(Settings.Window.SplitterPos, splitterPos);

    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    main->showMaximized();
    QApplication::processEvents();
    CloseWindows();
    EXPECT_TRUE(Settings.Window.WindowMaximized);
    EXPECT_EQ(Settings.Window.WindowWidth, 700);
}

TEST_F(MainWindowTest, ClosingWithAnArrangedOrderAsksAndNoKeepsTheWindow) {
    WriteSettings("[Player]\nDrive=" + folder.path() + "\n");
    Start();
    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    Pane().SetChanged(true);
    messages.answers = {MessageAnswer::No};
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"ExitAlthoughChanged"});
    EXPECT_EQ(messages.asked[0].caption, "Tralvo!");
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(main->close()); // the script's default answer is Yes
    Pane().SetChanged(false);
    main->show();
    EXPECT_TRUE(main->close());
    EXPECT_EQ(messages.asked.size(), 2u);
}

TEST_F(MainWindowTest, WithoutACatalogueTheFatalMessageEndsEverything) {
    std::remove((folder / "Tralvo.lng").c_str());
    Start();
    CreateWindows();
    ASSERT_FALSE(messages.asked.empty());
    EXPECT_EQ(messages.asked[0].caption, "Fatal Error");
    EXPECT_EQ(messages.asked[0].text, "Fatal Error: No language pack found!");
    EXPECT_TRUE(messages.asked[0].textKey.empty());
    EXPECT_TRUE(TerminationRequested());
    // The first-run dialog does not open: it ends at once as cancelled.
    EXPECT_FALSE(main->StartupCheck(false));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, TheFileListHoldsTheFolderAudioFilesInCollationOrder) {
    const std::string music = folder.MakeFolder("music");
    for (const char* name : {"d.wav", "c.txt", "B.ogg", "a.MP3", ".hidden.wma", "readme"}) {
        folder.WriteFile(std::string("music/") + name, "x");
    }
    folder.MakeFolder("music/e.mp3");
    WriteSettings("[Player]\nDrive=" + folder.MakeFolder("player") + "\n");
    Start();
    CreateWindows();
    Computer().ShowFolder(music);
    EXPECT_EQ(Computer().Files().Names(),
              (std::vector<std::string>{".hidden.wma", "a.MP3", "B.ogg", "d.wav"}));
    folder.WriteFile("music/C.mp3", "x");
    Control<QToolButton>("MyComputerRefreshBtn").click();
    EXPECT_EQ(Computer().Files().Names().size(), 5u);
}

// Tab runs from the computer pane through the player pane to the volume and the buttons,
// across the parts the window is built of, and round again.
TEST_F(MainWindowTest, TabGoesThroughTheTreesTheListsTheVolumeAndTheButtons) {
    WriteSettings("[Player]\nDrive=" + folder.path() + "\n");
    Start();
    CreateWindows();
    ASSERT_TRUE(main->StartupCheck(false));
    Pane().SetChanged(true); // the Tralvo button takes part only while enabled
    QApplication::setActiveWindow(main.get());
    Control<QWidget>("MyComputerST").setFocus();
    std::vector<QString> visited;
    for (int step = 0; step < 8 && QApplication::focusWidget() != nullptr; ++step) {
        visited.push_back(QApplication::focusWidget()->objectName());
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
    }
    EXPECT_EQ(visited, (std::vector<QString>{"MyComputerST", "FilesLB", "MyPlayerST", "TracksLB",
                                             "VolumeTB", "TralvoBtn", "ExitBtn", "MyComputerST"}));
}

// Assistive technology lists the main window among the desktop's windows, as a frame.
TEST_F(MainWindowTest, TheWindowPresentsItselfToAssistiveTechnologyAsAWindow) {
    Start();
    CreateWindows();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(main.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Tralvo!");
    // Its controls stay what they were.
    QAccessibleInterface* exit = QAccessible::queryAccessibleInterface(Button("ExitBtn"));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->role(), QAccessible::Button);
}

} // namespace
} // namespace tralvo
