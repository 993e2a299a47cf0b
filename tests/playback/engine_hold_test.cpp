#include "fixtures.h"
#include "playback/engine_hold.h"

#include <gtest/gtest.h>

namespace tralvo::playback {
namespace {

TEST(EngineHold, InitialisesTheEngineWhileItLivesAndOneHoldAtATime) {
    AudioEngine engine;
    {
        auto hold = EngineHold::Open(Device::Silent, engine);
        ASSERT_TRUE(hold);
        const auto second = EngineHold::Open(Device::Silent, engine);
        EXPECT_FALSE(second);
        EXPECT_EQ(second.Failure(), Outcome::Already);
        // The refused hold must not free the engine that the first one holds.
        EXPECT_EQ(hold->Volume().Failure(), Outcome::Ok);
        EXPECT_TRUE(hold->OpenStream(test::Fixture("tone.mp3")));
    }
    EXPECT_LT(engine.GetVolume(), 0) << "the hold's end frees the engine";
    EXPECT_TRUE(EngineHold::Open(Device::Silent, engine));
}

TEST(EngineHold, AMovedHoldFreesNothingAndAssigningOverAHoldFreesItsEngine) {
    AudioEngine engine;
    AudioEngine other;
    {
        auto hold = EngineHold::Open(Device::Silent, engine);
        auto otherHold = EngineHold::Open(Device::Silent, other);
        ASSERT_TRUE(hold);
        ASSERT_TRUE(otherHold);
        {
            EngineHold moved = std::move(*otherHold);
            EXPECT_EQ(otherHold->Volume().Failure(), Outcome::NotInitialised);
            EXPECT_EQ(otherHold->OpenStream(test::Fixture("tone.mp3")).Failure(),
                      Outcome::NotInitialised);
            *hold = std::move(moved);
            EXPECT_LT(engine.GetVolume(), 0);
        }
        EXPECT_GE(other.GetVolume(), 0) << "held by the hold it was moved to";
    }
    EXPECT_LT(other.GetVolume(), 0);
}

TEST(EngineHold, TheVolumeIsCheckedAndOutlastsTheHold) {
    AudioEngine engine;
    {
        auto hold = EngineHold::Open(Device::Silent, engine);
        ASSERT_TRUE(hold);
        EXPECT_EQ(hold->SetVolume(35), Outcome::Ok);
        EXPECT_EQ(hold->SetVolume(101), Outcome::InvalidArgument);
        EXPECT_EQ(hold->SetVolume(-1), Outcome::InvalidArgument);
        EXPECT_EQ(hold->Volume().ValueOr(-1), 35);
    }
    auto hold = EngineHold::OpenOutputOrSilent(engine);
    ASSERT_TRUE(hold);
    EXPECT_EQ(hold->Volume().ValueOr(-1), 35);
}

TEST(EngineHold, FilesThatCannotBePlayedSayWhy) {
    AudioEngine engine;
    auto hold = EngineHold::Open(Device::Silent, engine);
    ASSERT_TRUE(hold);
    EXPECT_EQ(hold->OpenStream(test::Fixture("missing.mp3")).Failure(), Outcome::CannotOpenFile);
    for (const char* name : {"text.mp3", "empty.mp3", "truncated.ogg", "tone.wma"}) {
        EXPECT_EQ(hold->OpenStream(test::Fixture(name)).Failure(), Outcome::UnsupportedFile)
            << name;
    }
    for (const char* name : {"tone.mp3", "truncated.wma"}) {
        EXPECT_EQ(hold->OpenWmaStream(test::Fixture(name)).Failure(), Outcome::UnsupportedFile)
            << name;
    }
    EXPECT_TRUE(hold->OpenWmaStream(test::Fixture("tone.wma")));
}

} // namespace
} // namespace tralvo::playback
