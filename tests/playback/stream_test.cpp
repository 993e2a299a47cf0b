#include "fixtures.h"
#include "playback/engine_hold.h"
#include "real_time.h"

#include <chrono>
#include <gtest/gtest.h>
#include <optional>

namespace tralvo::playback {
namespace {

using namespace std::chrono_literals;

using test::TimeSlackSeconds;
using test::Wait;

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = EngineHold::Open(Device::Silent, engine);
        ASSERT_TRUE(opened);
        hold.emplace(std::move(*opened));
    }

    Stream Open(const char* name) {
        auto stream = hold->OpenStream(test::Fixture(name));
        EXPECT_TRUE(stream) << name;
        return std::move(*stream);
    }

    // The engine's own table, to see whether a stream is still there.
    bool InEngine(StreamHandle handle) { return engine.ChannelBytes2Seconds(handle, 0) >= 0; }

    AudioEngine engine;
    std::optional<EngineHold> hold;
};

TEST_F(StreamTest, ASecondPauseSaysAlreadyAndPlayResumesWhereItPaused) {
    Stream stream = Open("tone.mp3");
    EXPECT_EQ(stream.Pause(), Outcome::NotPlaying);
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    Wait(200ms);
    ASSERT_EQ(stream.Pause(), Outcome::Ok);
    const double paused = stream.Position().ValueOr(-1);
    Wait(200ms);
    EXPECT_EQ(stream.Position().ValueOr(-1), paused);
    EXPECT_EQ(stream.Pause(), Outcome::Already);
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    Wait(200ms);
    EXPECT_NEAR(stream.Position().ValueOr(-1) - paused, 0.2, TimeSlackSeconds);
}

TEST_F(StreamTest, SeeksWithinItsLengthOnly) {
    Stream stream = Open("tone.wav");
    EXPECT_EQ(stream.Position().ValueOr(-1), 0.0);
    EXPECT_EQ(stream.Length().ValueOr(-1), 3.0);
    ASSERT_EQ(stream.SeekTo(2.0), Outcome::Ok);
    EXPECT_EQ(stream.Position().ValueOr(-1), 2.0);
    EXPECT_EQ(stream.SeekTo(3.5), Outcome::OutOfRange);
    EXPECT_EQ(stream.SeekTo(-0.5), Outcome::OutOfRange);
    EXPECT_EQ(stream.Position().ValueOr(-1), 2.0);
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    Wait(200ms);
    EXPECT_NEAR(stream.Position().ValueOr(-1), 2.2, TimeSlackSeconds);
}

TEST_F(StreamTest, StopReleasesTheStreamAndItsCallsThenSaySo) {
    Stream stream = Open("tone.mp3");
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    EXPECT_EQ(stream.Stop(), Outcome::Ok);
    EXPECT_FALSE(InEngine(stream.Handle()));
    EXPECT_EQ(stream.Position().Failure(), Outcome::StreamGone);
    EXPECT_EQ(stream.Play(), Outcome::StreamGone);
}

TEST_F(StreamTest, AStreamThatPlaysToItsEndIsGone) {
    Stream stream = Open("short.mp3");
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (stream.Position() && std::chrono::steady_clock::now() < deadline) {
        Wait(20ms);
    }
    EXPECT_EQ(stream.Position().Failure(), Outcome::StreamGone);
}

TEST_F(StreamTest, ADroppedStreamFreesItselfWhetherOrNotItPlayed) {
    StreamHandle played = 0;
    StreamHandle idle = 0;
    {
        Stream playing = Open("tone.mp3");
        ASSERT_EQ(playing.Play(), Outcome::Ok);
        played = playing.Handle();
        idle = Open("tone.ogg").Handle();
        EXPECT_TRUE(InEngine(played));
    }
    EXPECT_FALSE(InEngine(played));
    EXPECT_FALSE(InEngine(idle));
}

TEST_F(StreamTest, AMovedFromStreamIsInertAndLeavesTheStreamToItsNewOwner) {
    Stream first = Open("tone.mp3");
    const StreamHandle handle = first.Handle();
    std::optional<Stream> moved(std::move(first));
    EXPECT_EQ(first.Handle(), 0u);
    EXPECT_EQ(first.Play(), Outcome::StreamGone);
    EXPECT_EQ(first.Length().Failure(), Outcome::StreamGone);
    EXPECT_TRUE(InEngine(handle)) << "the moved-from stream stopped the one it gave away";

    // Assigning over a stream frees the one it held.
    Stream second = Open("tone.ogg");
    const StreamHandle replaced = second.Handle();
    second = std::move(*moved);
    moved.reset();
    EXPECT_FALSE(InEngine(replaced));
    EXPECT_EQ(second.Handle(), handle);
    EXPECT_EQ(second.Play(), Outcome::Ok);
}

TEST_F(StreamTest, TheHoldsEndReleasesItsStreams) {
    Stream stream = Open("tone.mp3");
    ASSERT_EQ(stream.Play(), Outcome::Ok);
    hold.reset();
    EXPECT_EQ(stream.Position().Failure(), Outcome::StreamGone);
}

} // namespace
} // namespace tralvo::playback
