// How a run's failures reach the user: the catalogue key, argument and reason of each box, and
// the observer that shows them.
#include "i18n/language_catalogue.h"
#include "jobs/message_box_observer.h"
#include "jobs/run_failure_messages.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

constexpr RunStep LastStep = RunStep::UndoNotPossible;

std::vector<RunStep> AllSteps() {
    std::vector<RunStep> steps;
    for (int i = 0; i <= static_cast<int>(LastStep); ++i) {
        steps.push_back(static_cast<RunStep>(i));
    }
    return steps;
}

TEST(RunFailureTexts, EveryStepHasItsTextInEveryLanguageWithRoomForItsArgument) {
    LanguageCatalogue catalogue;
    catalogue.Open(std::string(TRALVO_BIN_DIR) + "/Tralvo.lng");
    ASSERT_GT(catalogue.LanguageCount(), 1);
    for (const RunStep step : AllSteps()) {
        const FailureText told = TextOfFailure(step);
        // What stays out of place fills the text's "%0" from the recovery's list.
        const bool takesArgument =
            told.argument != FailureArgument::None || step == RunStep::PutBackInPart;
        for (std::int32_t language = 0; language < catalogue.LanguageCount(); ++language) {
            ASSERT_TRUE(catalogue.HasString(language, told.key)) << told.key << " " << language;
            catalogue.SetCurrentLanguage(language);
            EXPECT_EQ(catalogue.String(told.key).find("%0") != std::string::npos, takesArgument)
                << told.key << " " << language;
        }
    }
}

class FailureMessageTest : public testing::Test {
protected:
    void SetUp() override {
        Catalogue().Open(folder.WriteFile("Tralvo.lng",
                                          "[Languages]\nCount=1\n[Language0-Strings]\n"
                                          "Error=Oops\nRenameError=Cannot rename %0\n"
                                          "MoveToTempFolderError=Cannot move %0.\n"
                                          "CreateTempFolderError=No temporary folder\n"
                                          "NoRoomToRecreate=%0 needs %1 MB, %2 MB free\n"
                                          "RecoverIncomplete=Left:\\n%0\n"
                                          "RecoverDone=All back\nRecoverFolderTitle=Recovery\n"
                                          "FolderBusy=Busy %0\n"
                                          "RecoverFolder=Put back?\n"));
    }
    void TearDown() override { Catalogue().Close(); }

    test::TempFolder folder;
};

TEST_F(FailureMessageTest, TheArgumentIsThePathOrItsLastPartAsTheTextNeeds) {
    const Status refused = Status::Failure(EACCES, "rename /p/a.mp3: Permission denied");
    MessageRequest box = FailureMessage({RunStep::Rename, "/p/a.mp3", refused}, "MainForm");
    EXPECT_EQ(box.parent, "MainForm");
    EXPECT_EQ(box.captionKey, "Error");
    EXPECT_EQ(box.caption, "Oops");
    EXPECT_EQ(box.textKey, "RenameError");
    EXPECT_EQ(box.text, "Cannot rename /p/a.mp3");
    EXPECT_EQ(box.argument, "/p/a.mp3");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    // The text gives a reason of its own.
    EXPECT_EQ(box.reason, "");

    box = FailureMessage({RunStep::CreateTempFolder, "/p/QZ_TEMP1", refused}, "");
    EXPECT_EQ(box.text, "No temporary folder");
    EXPECT_EQ(box.argument, "");
}

TEST_F(FailureMessageTest, ATextThatEndsAtTheFailureTakesTheSystemsReasonBelowIt) {
    const Status full = Status::Failure(ENOSPC, "rename /p/b.mp3: No space left on device");
    MessageRequest box = FailureMessage({RunStep::MoveToTempFolder, "/p/b.mp3", full}, "");
    EXPECT_EQ(box.text, "Cannot move b.mp3.");
    EXPECT_EQ(box.argument, "b.mp3");
    EXPECT_EQ(box.reason, full.message());
    EXPECT_EQ(TextWithReason(box), "Cannot move b.mp3.\n" + full.message());

    // A step that was never tried has no reason to give.
    box = FailureMessage({RunStep::MoveToTempFolder, "/p/b.mp3", Status::Ok()}, "");
    EXPECT_EQ(TextWithReason(box), "Cannot move b.mp3.");
}

TEST_F(FailureMessageTest, NoRoomNamesTheMegabytesNeededRoundedUpAndThoseFreeRoundedDown) {
    RunFailure failure{RunStep::NoRoomToRecreate, "/p/large.mp3", Status::Ok()};
    failure.needed = (3u << 20) + 1;
    failure.available = (2u << 20) + (1u << 19);
    EXPECT_EQ(FailureMessage(failure, "").text, "/p/large.mp3 needs 4 MB, 2 MB free");
}

TEST_F(FailureMessageTest, WhatARecoveryLeftIsListedUpToTwentyNames) {
    std::vector<NotRestored> left;
    for (int i = 0; i < 21; ++i) {
        left.push_back({std::to_string(i) + ".qz_temp", NotRestored::Reason::NoTitle});
    }
    RunFailure failure{RunStep::PutBackInPart, "/p/", Status::Ok()};
    failure.notRestored = left;
    const MessageRequest box = FailureMessage(failure, "MainForm");
    EXPECT_EQ(box.textKey, "RecoverIncomplete");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_TRUE(box.argument.starts_with("0.qz_temp\n1.qz_temp\n")) << box.argument;
    EXPECT_TRUE(box.argument.ends_with("\n19.qz_temp\n...")) << box.argument;

    const MessageRequest done = RecoveryMessage({}, "MainForm");
    EXPECT_EQ(done.textKey, "RecoverDone");
    EXPECT_EQ(done.captionKey, "RecoverFolderTitle");
    EXPECT_EQ(done.icon, MessageIcon::Information);

    const MessageRequest busy = RecoveryMessage({{"/p/", NotRestored::Reason::Busy}}, "");
    EXPECT_EQ(busy.textKey, "FolderBusy");
    EXPECT_EQ(busy.text, "Busy /p/");
}

TEST_F(FailureMessageTest, TheObserverShowsEachFailureAndAsksBeforeARecovery) {
    test::ScriptedMessages messages;
    MessageBoxObserver observer(messages, "MainForm");
    observer.Failed({RunStep::Rename, "/p/a.mp3", Status::Ok()});
    observer.Failed({RunStep::OrderDiffers, "", Status::Ok()});
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"RenameError", "TralvoFailed"}));
    EXPECT_EQ(messages.asked[1].parent, "MainForm");

    messages.asked.clear();
    messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(observer.RecoverNow("/p/"));
    EXPECT_TRUE(observer.RecoverNow("/p/"));
    ASSERT_EQ(messages.TextKeys(), (std::vector<std::string>{"RecoverFolder", "RecoverFolder"}));
    EXPECT_EQ(messages.asked[0].captionKey, "RecoverFolderTitle");
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::YesNo);
}

} // namespace
} // namespace tralvo
