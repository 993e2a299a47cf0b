// The program from start to end: the one-instance test and the settings written at every end.
#include "app/program.h"
#include "gui/qt_text.h"
#include "platform/ini_file.h"
#include "platform/single_instance.h"
#include "program_fixture.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QUuid>
#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tralvo {
namespace {

QString FreshInstanceName() {
    return QStringLiteral("tralvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

class ProgramTest : public test::ProgramFolderFixture {};

TEST(ProgramArguments, ForceFirstRunCountsOnlyFirstAndInExactlyThisForm) {
    EXPECT_TRUE(ForceFirstRunRequested({"tralvo", "/ForceFirstRun"}));
    EXPECT_TRUE(ForceFirstRunRequested({"tralvo", "/ForceFirstRun", "x"}));
    EXPECT_FALSE(ForceFirstRunRequested({"tralvo", "x", "/ForceFirstRun"}));
    EXPECT_FALSE(ForceFirstRunRequested({"tralvo", "/forcefirstrun"}));
    EXPECT_FALSE(ForceFirstRunRequested({"tralvo"}));
}

TEST_F(ProgramTest, ACancelledFirstRunEndsAndLeavesDefaultSettingsBehind) {
    test::OnNextModalDialog([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(RunProgram({"tralvo"}, messages, FreshInstanceName()), 0);
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"FirstRunMsg"});
    const IniFile saved(folder / "Tralvo.ini");
    EXPECT_EQ(saved.ReadString("Player", "Drive", ""), "@");
    EXPECT_EQ(saved.ReadString("Sort", "1", ""), "2");
    // The window never showed: its geometry did not reach the file.
    EXPECT_EQ(saved.ReadString("Window", "Width", ""), "-1");
}

// A start makes no dialog: each is made when first opened, as a child of the main window, and
// kept for the next time.
TEST_F(ProgramTest, DialogsAreMadeWhenFirstOpenedAndKept) {
    const std::string player = folder.MakeFolder("player");
    folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\n");
    std::vector<QDialog*> opened; // gone once the program ended: compared, not used
    std::string kind;
    QTimer::singleShot(0, [&] {
        MainWindow* main = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            main = main != nullptr ? main : qobject_cast<MainWindow*>(window);
        }
        if (main == nullptr) {
            ADD_FAILURE() << "no main window";
            QCoreApplication::quit();
            return;
        }
        EXPECT_TRUE(main->findChildren<QDialog*>().isEmpty());
        for (int i = 0; i < 2; ++i) {
            test::OnNextModalDialog([&](QDialog& dialog) {
                opened.push_back(&dialog);
                kind = dialog.metaObject()->className();
                EXPECT_TRUE(dialog.isModal());
                EXPECT_EQ(dialog.parentWidget(), main);
                dialog.accept();
            });
            main->findChild<QAbstractButton*>(QStringLiteral("AboutBtn"))->click();
        }
        main->close();
    });
    EXPECT_EQ(RunProgram({"tralvo"}, messages, FreshInstanceName()), 0);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], opened[1]);
    EXPECT_EQ(kind, "tralvo::AboutBox");
}

// The real program, copied with its catalogue and settings into a folder of its own, started
// while this test holds the one-instance server it looks for.
TEST_F(ProgramTest, ASecondStartBringsTheFirstForwardAndEndsWritingWhatItRead) {
    const std::string program = folder / "tralvo";
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRALVO_BIN_DIR "/tralvo"), PathText(program)));
    QFile::setPermissions(PathText(program), QFile::ReadOwner | QFile::ExeOwner);
    folder.WriteFile("Tralvo.ini", "[Player]\nType=257\n");
    const std::string runtime = folder.MakeFolder("runtime");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), PathText(runtime));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    SingleInstance first(SingleInstance::DefaultName());
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    ASSERT_TRUE(first.Claim());
    bool asked = false;
    QObject::connect(&first, &SingleInstance::ShowRequested, [&] { asked = true; });

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(PathText(program), {});
    QElapsedTimer timer;
    timer.start();
    while (second.state() != QProcess::NotRunning && timer.elapsed() < 30000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_EQ(second.state(), QProcess::NotRunning) << "the second start did not end";
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_TRUE(asked);
    const IniFile saved(folder / "Tralvo.ini");
    EXPECT_EQ(saved.ReadString("Player", "Type", ""), "1");
    EXPECT_EQ(saved.ReadString("Window", "Width", ""), "-1");
}

TEST_F(ProgramTest, ASocketLeftBehindDoesNotStopTheNextStart) {
    // A program that crashed leaves its socket file with nobody listening on it.
    const std::string path = folder / "stale.socket";
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);

    SingleInstance instance(PathText(path));
    EXPECT_TRUE(instance.Claim());
    SingleInstance second(PathText(path));
    EXPECT_FALSE(second.Claim());
}

} // namespace
} // namespace tralvo
