// The desktop's copy and delete on real folders, its questions answered by the test's hand.
#include "gui/qt_shell_file_operation.h"
#include "program_fixture.h"
#include "support/forwarding_file_system.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

namespace tralvo {
namespace {

namespace fs = std::filesystem;
using test::OnNextModalDialog;

// Answers the next replace question with button, and counts the questions and keeps the
// last one's text.
void AnswerReplace(QMessageBox::StandardButton button, int* asked = nullptr,
                   QString* text = nullptr) {
    OnNextModalDialog([button, asked, text](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr);
        if (asked != nullptr) {
            ++*asked;
        }
        if (text != nullptr) {
            *text = box->text();
        }
        box->button(button)->click();
    });
}

// Presses Cancel in the copy's progress window as soon as it shows.
class CancelWhenProgressShows : public QObject {
public:
    CancelWhenProgressShows() { qApp->installEventFilter(this); }
    ~CancelWhenProgressShows() override { qApp->removeEventFilter(this); }
    bool shown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* progress = qobject_cast<QProgressDialog*>(watched)) {
                shown = true;
                QMetaObject::invokeMethod(progress, &QProgressDialog::cancel, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

// Says every path below folder lies on another volume than the home folder.
class ElsewhereFileSystem : public test::ForwardingFileSystem {
public:
    explicit ElsewhereFileSystem(std::string folder) : folder_(std::move(folder)) {}
    std::string VolumeOf(const std::string& path) override {
        return path.starts_with(folder_) ? "/elsewhere" : ForwardingFileSystem::VolumeOf(path);
    }

private:
    std::string folder_;
};

std::vector<std::string> LeftOvers(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".tralvo-copy-")) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

class ShellFileOperationTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        shell.SetProgressDelay(0);
    }
    void TearDown() override {
        ProgramFolderFixture::TearDown();
        if (dataHome) {
            qputenv("XDG_DATA_HOME", *dataHome);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }
    // The trash in a folder of the test's, so the user's own trash stays untouched.
    void TrashIn(const std::string& trashFolder) {
        if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
            dataHome = qgetenv("XDG_DATA_HOME");
        }
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(trashFolder));
    }

    QtShellFileOperation shell{nullptr, messages};
    std::optional<QByteArray> dataHome;
};

TEST_F(ShellFileOperationTest, ReplacingAsksAndNoKeepsTheOldFileByteForByte) {
    const std::string source = folder.WriteFile("new.mp3", "the new content");
    const std::string target = folder.WriteFile("old.mp3", std::string("old\0content", 11));
    int asked = 0;
    QString question;
    AnswerReplace(QMessageBox::No, &asked, &question);
    shell.Copy({source}, {target});
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(question, QString::fromStdString("\"" + target +
                                               "\" exists already.\n"
                                               "Do you want to replace it?"));
    EXPECT_EQ(test::ReadFile(target), std::string("old\0content", 11));
    EXPECT_TRUE(LeftOvers(folder.path()).empty());
}

TEST_F(ShellFileOperationTest, YesToAllReplacesTheRestWithoutAskingAndKeepsTimes) {
    const std::string target = folder.MakeFolder("target");
    std::vector<std::string> sources;
    std::vector<std::string> targets;
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const std::string name : {"a.mp3", "b.mp3", "c.mp3"}) {
        sources.push_back(folder.WriteFile(name, "new " + name));
        fs::last_write_time(sources.back(), past);
        targets.push_back(target + "/" + name);
        if (name != "c.mp3") {
            folder.WriteFile("target/" + name, "old");
        }
    }
    int asked = 0;
    AnswerReplace(QMessageBox::YesToAll, &asked);
    shell.Copy(sources, targets);
    EXPECT_EQ(asked, 1);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(test::ReadFile(targets[i]), test::ReadFile(sources[i]));
        EXPECT_EQ(fs::last_write_time(targets[i]), past);
    }
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_TRUE(LeftOvers(target).empty());
}

TEST_F(ShellFileOperationTest, CancelAtTheReplaceQuestionStopsTheWholeCopy) {
    const std::string a = folder.WriteFile("a.mp3", "new a");
    const std::string b = folder.WriteFile("b.mp3", "new b");
    const std::string target = folder.MakeFolder("target");
    folder.WriteFile("target/a.mp3", "old a");
    AnswerReplace(QMessageBox::Cancel);
    shell.Copy({a, b}, {target + "/a.mp3", target + "/b.mp3"});
    EXPECT_EQ(test::ReadFile(target + "/a.mp3"), "old a");
    EXPECT_FALSE(fs::exists(target + "/b.mp3"));
}

TEST_F(ShellFileOperationTest, CancellingALargeCopyRemovesThePartialFileAndKeepsTheOldOne) {
    const std::string source = folder.WriteFile("large.mp3", "");
    fs::resize_file(source, 64u << 20);
    const std::string target = folder.MakeFolder("target") + "/large.mp3";
    folder.WriteFile("target/large.mp3", "the old large file");
    const CancelWhenProgressShows cancel;
    AnswerReplace(QMessageBox::Yes);
    shell.Copy({source}, {target});
    EXPECT_TRUE(cancel.shown);
    EXPECT_EQ(test::ReadFile(target), "the old large file");
    EXPECT_TRUE(LeftOvers(folder / "target").empty());
    EXPECT_TRUE(messages.asked.empty()); // a cancel is no error
}

TEST_F(ShellFileOperationTest, AFailedCopyIsReportedWithoutAPartialFileAndTheNextGoesOn) {
    // Reading a process's memory at address 0 fails midway, after the copy was begun.
    const std::string target = folder.MakeFolder("target");
    const std::string good = folder.WriteFile("good.mp3", "good");
    shell.Copy({"/proc/self/mem", good}, {target + "/mem.mp3", target + "/good.mp3"});
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"CopyError"});
    EXPECT_EQ(messages.asked[0].captionKey, "Error");
    EXPECT_FALSE(fs::exists(target + "/mem.mp3"));
    EXPECT_EQ(test::ReadFile(target + "/good.mp3"), "good");
    EXPECT_TRUE(LeftOvers(target).empty());
}

TEST_F(ShellFileOperationTest, DeletingOnTheHomeVolumeAsksOnceAndMovesToTheTrash) {
    QTemporaryDir home(QDir::homePath() + QStringLiteral("/.tralvo-test-XXXXXX"));
    if (!home.isValid()) {
        GTEST_SKIP() << "the home folder is not writable";
    }
    const std::string base = home.path().toStdString();
    fs::create_directories(base + "/data");
    TrashIn(base + "/data");
    const std::string file = base + "/Song.mp3";
    test::WriteWholeFile(file, "song");

    messages.answers = {MessageAnswer::No};
    shell.Delete({file});
    EXPECT_TRUE(fs::exists(file));
    shell.Delete({file});
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"TrashFile", "TrashFile"}));
    EXPECT_EQ(messages.asked[0].argument, "Song.mp3");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(test::ReadFile(base + "/data/Trash/files/Song.mp3"), "song");
}

TEST_F(ShellFileOperationTest, DeletingElsewhereIsForGood) {
    TrashIn(folder.MakeFolder("data"));
    ElsewhereFileSystem elsewhere(folder.MakeFolder("player"));
    QtShellFileOperation playerShell(nullptr, messages, elsewhere);
    const std::string a = folder.WriteFile("player/a.mp3", "a");
    const std::string b = folder.WriteFile("player/b.mp3", "b");
    playerShell.Delete({a, b, folder / "player/gone.mp3"});
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"DeleteFiles"});
    EXPECT_EQ(messages.asked[0].argument, "2");
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_FALSE(fs::exists(folder / "data/Trash"));
}

} // namespace
} // namespace tralvo
