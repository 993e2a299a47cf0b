// The order probe opened from the settings dialog, with the probe's disk work replaced by a
// fake that records its calls and can hold the write until the test lets it go.
#include "gui/dialogs/order_probe_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "i18n/language_catalogue.h"
#include "support/fake_file_system.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace tralvo {
namespace {

class FakeProbe {
public:
    jobs::OrderProbeOperations Operations() {
        return {
            [this](const std::string& language) -> std::optional<ProbeSounds> {
                Record("find " + language);
                return sounds;
            },
            [this](const std::string& root, const ProbeSounds&) {
                if (hold) {
                    gate.wait();
                }
                Record("write " + root);
                return written;
            },
            [this](const std::string& root) {
                Record("remove " + root);
                return removed;
            },
        };
    }

    std::vector<std::string> Calls() {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

    std::optional<ProbeSounds> sounds =
        ProbeSounds{{"/data/one.ogg", "/data/two.ogg", "/data/three.ogg"}};
    Status written;
    Status removed;
    // With hold set, the write waits until release is fulfilled.
    bool hold = false;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();

private:
    void Record(std::string call) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }

    std::mutex mutex_;
    std::vector<std::string> calls_;
};

// Runs look on the probe dialog each time one opens, inside its modal loop; a dialog that look
// leaves open is closed without a word, so that a failed expectation cannot hang the test.
class ProbeWatch : public QObject {
public:
    explicit ProbeWatch(std::function<void(OrderProbeDialog&)> look) : look_(std::move(look)) {
        qApp->installEventFilter(this);
    }
    ~ProbeWatch() override { qApp->removeEventFilter(this); }

    int opened = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<OrderProbeDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show) {
            ++opened;
            QTimer::singleShot(0, dialog, [this, dialog] {
                look_(*dialog);
                if (dialog->isVisible()) {
                    dialog->done(QDialog::Rejected);
                }
            });
        }
        return false;
    }

private:
    std::function<void(OrderProbeDialog&)> look_;
};

template <typename Widget = QWidget>
Widget& Child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *widget;
}

QWidget* Page(QWidget& dialog) {
    return Child<QStackedWidget>(dialog, "PagesSW").currentWidget();
}

// Lets the write end and its result arrive, however long a busy machine takes.
void WaitForTheWrite(OrderProbeDialog& dialog) {
    while (dialog.Writing()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void WriteAndAnswer(OrderProbeDialog& dialog, const char* answer) {
    Child<QPushButton>(dialog, "WriteBtn").click();
    WaitForTheWrite(dialog);
    ASSERT_EQ(Page(dialog)->objectName(), "QuestionPage");
    Child<QAbstractButton>(dialog, answer).click();
    Child<QPushButton>(dialog, "OKBtn").click();
}

class OrderProbeDialogTest : public testing::Test {
protected:
    void SetUp() override {
        Catalogue().Open(folder.WriteFile(
            "Tralvo.lng", "[Languages]\nCount=1\n[Language0]\nName=English\nCode=EN\n"
                          "[Language0-Strings]\nError=Error\n"));
        fs.currentFolder = "/";
        fs.volumeOf = {{"/", "/"}, {fs.programPath, "/"}};
        fs.volumes = {{"/media/PLAYER", "vfat", "/dev/sdz1"}};
        fs.folders = {"/media/PLAYER", "/media/PLAYER/"};
        Settings.PlayerDrive = "@";
        Settings.PlayerType = PlayerType::FileNames;
        form = std::make_unique<SettingsDialog>(settings, messages, nullptr, nullptr, fs);
        form->SetOrderProbe(probe.Operations());
        form->show();
        // The player is chosen in the list, not yet stored.
        Child<QComboBox>(*form, "PlayerDriveCB").setCurrentIndex(2);
    }
    void TearDown() override { Catalogue().Close(); }

    // Opens the probe from the settings dialog, lets look drive it, and returns when it has
    // closed.
    void Probe(const std::function<void(OrderProbeDialog&)>& look) {
        ProbeWatch watch(look);
        Child<QPushButton>(*form, "ProbeBtn").click();
        EXPECT_EQ(watch.opened, 1);
    }

    bool Checked(const char* radio) { return Child<QAbstractButton>(*form, radio).isChecked(); }

    test::TempFolder folder;
    test::ScriptedMessages messages;
    UserSettings Settings;
    GuiSettings settings{Settings};
    test::FakeFileSystem fs;
    FakeProbe probe;
    std::unique_ptr<SettingsDialog> form;
};

TEST_F(OrderProbeDialogTest, EachWordSelectsItsPlayerTypeForTheDriveChosenAndRemovesTheProbe) {
    const std::vector<std::pair<const char*, const char*>> answers = {
        {"OneRB", "UsingFATRB"},
        {"TwoRB", "SortingByFilenameRB"},
        {"ThreeRB", "SortingByFileCreationTimeRB"}};
    for (const auto& [word, type] : answers) {
        Child<QAbstractButton>(*form, "UsingFATRB").click();
        Child<QAbstractButton>(*form, "SortingByFilenameRB").click();
        const std::size_t before = probe.Calls().size();
        Probe([word = word](OrderProbeDialog& dialog) { WriteAndAnswer(dialog, word); });

        EXPECT_TRUE(Checked(type)) << word;
        const std::vector<std::string> calls = probe.Calls();
        EXPECT_EQ(
            std::vector<std::string>(calls.begin() + static_cast<long>(before), calls.end()),
            (std::vector<std::string>{"find en", "write /media/PLAYER/", "remove /media/PLAYER/"}))
            << word;
    }
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_EQ(Settings.PlayerType, PlayerType::FileNames); // stored with OK only

    Child<QPushButton>(*form, "OKBtn").click();
    EXPECT_EQ(Settings.PlayerType, PlayerType::CreationTimes);
    EXPECT_EQ(Settings.PlayerDrive, "/media/PLAYER");
}

TEST_F(OrderProbeDialogTest, WhileTheWriteRunsTheDialogWaitsAndCannotBeClosed) {
    probe.hold = true;
    Probe([this](OrderProbeDialog& dialog) {
        EXPECT_FALSE(Child<QPushButton>(dialog, "OKBtn").isEnabled());
        Child<QPushButton>(dialog, "WriteBtn").click();
        EXPECT_TRUE(dialog.Writing());
        EXPECT_EQ(Page(dialog)->objectName(), "WritingPage");
        EXPECT_FALSE(Child<QPushButton>(dialog, "CancelBtn").isEnabled());
        EXPECT_FALSE(Child<QPushButton>(dialog, "OKBtn").isEnabled());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        dialog.close();
        dialog.reject();
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(probe.Calls(), std::vector<std::string>{"find en"});

        probe.release.set_value();
        WaitForTheWrite(dialog);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(Page(dialog)->objectName(), "QuestionPage");
        EXPECT_TRUE(Child<QPushButton>(dialog, "CancelBtn").isEnabled());
        // OK waits for an answer.
        EXPECT_FALSE(Child<QPushButton>(dialog, "OKBtn").isEnabled());
        Child<QAbstractButton>(dialog, "NoneRB").click();
        EXPECT_TRUE(Child<QPushButton>(dialog, "OKBtn").isEnabled());
        Child<QPushButton>(dialog, "OKBtn").click();
    });
    // Could not tell: the probe is gone and the type stays.
    EXPECT_EQ(probe.Calls().back(), "remove /media/PLAYER/");
    EXPECT_TRUE(Checked("SortingByFilenameRB"));
}

TEST_F(OrderProbeDialogTest, CancelAndTheCloseBoxRemoveAWrittenProbeAndChangeNothing) {
    // Before anything is written there is nothing to remove.
    Probe([](OrderProbeDialog& dialog) { Child<QPushButton>(dialog, "CancelBtn").click(); });
    EXPECT_TRUE(probe.Calls().empty());

    for (const bool closeBox : {false, true}) {
        Probe([closeBox](OrderProbeDialog& dialog) {
            Child<QPushButton>(dialog, "WriteBtn").click();
            WaitForTheWrite(dialog);
            Child<QAbstractButton>(dialog, "OneRB").click();
            closeBox ? static_cast<void>(dialog.close())
                     : Child<QPushButton>(dialog, "CancelBtn").click();
            EXPECT_FALSE(dialog.isVisible());
        });
        EXPECT_EQ(probe.Calls().back(), "remove /media/PLAYER/") << closeBox;
        EXPECT_TRUE(Checked("SortingByFilenameRB")) << closeBox;
    }
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(OrderProbeDialogTest, AFailedWriteShowsItsBoxAndLeavesTheSettingsDialogAsItWas) {
    struct Case {
        int code;
        const char* key;
        const char* reason;
    };
    for (const Case& failure :
         {Case{EEXIST, "ProbeFolderTaken", ""}, Case{ENOSPC, "ProbeNoRoom", ""},
          Case{EROFS, "ProbeWriteError", "Read-only file system"}}) {
        messages.asked.clear();
        probe.written = Status::Failure(failure.code, "mkdir /media/PLAYER/TRALVO_PROBE");
        Probe([](OrderProbeDialog& dialog) {
            Child<QPushButton>(dialog, "WriteBtn").click();
            WaitForTheWrite(dialog);
            EXPECT_EQ(Page(dialog)->objectName(), "IntroPage");
            EXPECT_TRUE(Child<QPushButton>(dialog, "CancelBtn").isEnabled());
            Child<QPushButton>(dialog, "CancelBtn").click();
        });
        ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{failure.key});
        const MessageRequest& box = messages.asked[0];
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_EQ(box.parent, "OrderProbeForm");
        EXPECT_EQ(box.argument, "/media/PLAYER/TRALVO_PROBE");
        EXPECT_EQ(box.reason, failure.reason);
        // A failed write leaves nothing to remove.
        EXPECT_EQ(probe.Calls().back(), "write /media/PLAYER/");
        EXPECT_TRUE(Checked("SortingByFilenameRB"));
    }

    messages.asked.clear();
    probe.sounds.reset();
    Probe([](OrderProbeDialog& dialog) {
        Child<QPushButton>(dialog, "WriteBtn").click();
        EXPECT_FALSE(dialog.Writing());
        EXPECT_EQ(Page(dialog)->objectName(), "IntroPage");
    });
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"ProbeSoundsMissing"});
    EXPECT_EQ(probe.Calls().back(), "find en");
}

TEST_F(OrderProbeDialogTest, AFailedRemovalAsksForItByHandAndTheAnswerStillCounts) {
    probe.removed = Status::Failure(EACCES, "rmdir /media/PLAYER/TRALVO_PROBE");
    Probe([](OrderProbeDialog& dialog) { WriteAndAnswer(dialog, "OneRB"); });
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"ProbeRemoveError"});
    EXPECT_EQ(messages.asked[0].argument, "/media/PLAYER/TRALVO_PROBE");
    EXPECT_EQ(messages.asked[0].reason, "Permission denied");
    EXPECT_TRUE(Checked("UsingFATRB"));
}

TEST_F(OrderProbeDialogTest, ADriveThatIsGoneOpensNoProbe) {
    fs.folders.clear();
    ProbeWatch watch([](OrderProbeDialog&) {});
    Child<QPushButton>(*form, "ProbeBtn").click();
    EXPECT_EQ(watch.opened, 0);
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"PlayerDriveNotExists"});
    EXPECT_TRUE(probe.Calls().empty());
}

TEST_F(OrderProbeDialogTest, TheButtonSitsUnderThePlayerTypesAndIsNamedWithAHint) {
    const QRect button = Child(*form, "ProbeBtn").geometry();
    EXPECT_GT(button.top(), Child(*form, "SortingByFileCreationTimeRB").geometry().bottom());
    EXPECT_LT(button.bottom(), Child(*form, "CompListBtn").geometry().top());
    EXPECT_EQ(Child(*form, "ProbeBtn").accessibleName(), "Find out by test...");
    EXPECT_FALSE(Child(*form, "ProbeBtn").toolTip().isEmpty());
}

} // namespace
} // namespace tralvo
