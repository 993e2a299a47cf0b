#include "fixtures.h"
#include "playback/audio_engine.h"
#include "playback/output_format.h"
#include "real_time.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tralvo::playback {
namespace {

using namespace std::chrono_literals;

using test::TimeSlackSeconds;
using test::Wait;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr)); }

    StreamHandle Play(const std::string& name) {
        const std::string path = test::Fixture(name);
        const StreamHandle handle =
            name.ends_with(".wma") ? engine.WmaStreamCreateFile(false, path, 0, 0, AutoFreeFlag)
                                   : engine.StreamCreateFile(false, path, 0, 0, AutoFreeFlag);
        EXPECT_NE(handle, 0u) << name << ": error " << engine.ErrorGetCode();
        EXPECT_TRUE(engine.ChannelPlay(handle, false));
        return handle;
    }

    double Seconds(StreamHandle handle) {
        return engine.ChannelBytes2Seconds(handle, engine.ChannelGetPosition(handle));
    }

    AudioEngine engine;
};

TEST(AudioEngine, ReportsTheExpectedVersionWhenItsLibrariesMatch) {
    EXPECT_EQ(AudioEngine().GetVersion() >> 16, ExpectedVersion);
}

TEST(AudioEngine, InitFailsWhileInitialisedAndFreeFailsWhenNot) {
    AudioEngine engine;
    EXPECT_FALSE(engine.Free());
    EXPECT_EQ(engine.ErrorGetCode(), ErrorInit);
    ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(engine.ErrorGetCode(), ErrorAlready);
    EXPECT_TRUE(engine.Free());
    EXPECT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(engine.Init(7, 44100, 0, nullptr, nullptr));
}

TEST(AudioEngine, VolumeSurvivesFreeAndInit) {
    AudioEngine engine;
    EXPECT_LT(engine.GetVolume(), 0);
    ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(engine.GetVolume(), 100);
    EXPECT_TRUE(engine.SetVolume(35));
    EXPECT_FALSE(engine.SetVolume(101));
    ASSERT_TRUE(engine.Free());
    ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(engine.GetVolume(), 35);
}

TEST_F(EngineTest, PlayAdvancesInRealTime) {
    const StreamHandle handle = Play("tone.wav");
    Wait(400ms);
    EXPECT_NEAR(Seconds(handle), 0.4, TimeSlackSeconds);
    EXPECT_EQ(engine.ChannelGetPosition(handle) % BytesPerFrame, 0u);
}

TEST_F(EngineTest, PauseFreezesTheStreamASecondPauseFailsWithCode14AndPlayResumes) {
    const StreamHandle handle = Play("tone.ogg");
    Wait(200ms);
    ASSERT_TRUE(engine.ChannelPause(handle));
    const std::uint64_t paused = engine.ChannelGetPosition(handle);
    Wait(200ms);
    EXPECT_EQ(engine.ChannelGetPosition(handle), paused);
    EXPECT_FALSE(engine.ChannelPause(handle));
    EXPECT_EQ(engine.ErrorGetCode(), ErrorAlready);
    ASSERT_TRUE(engine.ChannelPlay(handle, false));
    Wait(200ms);
    const double resumedBy = Seconds(handle) - engine.ChannelBytes2Seconds(handle, paused);
    EXPECT_NEAR(resumedBy, 0.2, TimeSlackSeconds);
}

TEST_F(EngineTest, StopReleasesAnAutoFreeStream) {
    const StreamHandle handle = Play("tone.mp3");
    Wait(50ms);
    ASSERT_TRUE(engine.ChannelStop(handle));
    EXPECT_LT(engine.ChannelBytes2Seconds(handle, 0), 0.0);
    EXPECT_EQ(engine.ChannelGetPosition(handle), InvalidBytes);
    EXPECT_EQ(engine.ChannelGetLength(handle), InvalidBytes);
    EXPECT_EQ(engine.ErrorGetCode(), ErrorHandle);
    EXPECT_FALSE(engine.ChannelPlay(handle, false));
}

TEST_F(EngineTest, AStreamThatPlaysToItsEndReleasesItself) {
    const StreamHandle handle = Play("short.mp3");
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (engine.ChannelBytes2Seconds(handle, 0) >= 0 &&
           std::chrono::steady_clock::now() < deadline) {
        Wait(20ms);
    }
    EXPECT_LT(engine.ChannelBytes2Seconds(handle, 0), 0.0);
}

TEST_F(EngineTest, SeekMovesThePositionAndPlayGoesOnFromThere) {
    const StreamHandle handle = Play("tone.wma");
    const std::uint64_t target = 2 * BytesPerSecond;
    ASSERT_TRUE(engine.ChannelSetPosition(handle, target + 1));
    EXPECT_GE(engine.ChannelGetPosition(handle), target);
    Wait(200ms);
    EXPECT_NEAR(Seconds(handle), 2.2, TimeSlackSeconds);
    EXPECT_FALSE(engine.ChannelSetPosition(handle, 100 * BytesPerSecond));
    EXPECT_EQ(engine.ErrorGetCode(), ErrorPosition);
}

TEST_F(EngineTest, LengthsComeFromTheContainer) {
    for (const char* name : {"tone.wav", "tone.mp3", "tone.ogg", "tone.wma"}) {
        const std::string path = test::Fixture(name);
        const bool wma = std::string_view(name).ends_with(".wma");
        const StreamHandle handle = wma ? engine.WmaStreamCreateFile(false, path, 0, 0, 0)
                                        : engine.StreamCreateFile(false, path, 0, 0, 0);
        ASSERT_NE(handle, 0u) << name;
        const std::uint64_t length = engine.ChannelGetLength(handle);
        EXPECT_EQ(length % BytesPerFrame, 0u) << name;
        const double tolerance = wma ? 0.1 : 0.05;
        EXPECT_NEAR(engine.ChannelBytes2Seconds(handle, length), 3.0, tolerance) << name;
        EXPECT_TRUE(engine.StreamFree(handle));
    }
    const StreamHandle wav = engine.StreamCreateFile(false, test::Fixture("tone.wav"), 0, 0, 0);
    EXPECT_EQ(engine.ChannelGetLength(wav), 3 * BytesPerSecond);
}

TEST_F(EngineTest, FilesThatCannotBeReadGiveNoStream) {
    for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3"}) {
        for (const std::uint32_t flags : {0u, AutoFreeFlag}) {
            EXPECT_EQ(engine.StreamCreateFile(false, test::Fixture(name), 0, 0, flags), 0u)
                << name << " flags " << flags;
            EXPECT_NE(engine.ErrorGetCode(), ErrorNone);
        }
    }
    EXPECT_EQ(engine.StreamCreateFile(false, test::Fixture(""), 0, 0, 0), 0u); // a folder
    for (const char* name : {"truncated.mp3", "truncated.ogg", "truncated.wav"}) {
        EXPECT_EQ(engine.StreamCreateFile(false, test::Fixture(name), 0, 0, AutoFreeFlag), 0u)
            << name;
    }
    EXPECT_EQ(engine.WmaStreamCreateFile(false, test::Fixture("truncated.wma"), 0, 0, AutoFreeFlag),
              0u);
}

TEST_F(EngineTest, WmaFilesNeedTheWmaStreamAndOnlyThem) {
    EXPECT_EQ(engine.StreamCreateFile(false, test::Fixture("tone.wma"), 0, 0, 0), 0u);
    EXPECT_EQ(engine.WmaStreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0), 0u);
    EXPECT_EQ(engine.WmaStreamCreateFile(false, test::Fixture("tone.mp3"), 0, 0, AutoFreeFlag), 0u);
}

TEST_F(EngineTest, FreeReleasesEveryStreamAndHandlesAreNeverReused) {
    std::set<StreamHandle> seen;
    for (int round = 0; round < 3; ++round) {
        const StreamHandle playing = Play("tone.wav");
        const StreamHandle idle =
            engine.StreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0);
        ASSERT_NE(idle, 0u);
        EXPECT_TRUE(seen.insert(playing).second);
        EXPECT_TRUE(seen.insert(idle).second);
        Wait(30ms);
        ASSERT_TRUE(engine.Free());
        EXPECT_LT(engine.ChannelBytes2Seconds(playing, 0), 0.0);
        EXPECT_LT(engine.ChannelBytes2Seconds(idle, 0), 0.0);
        ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    }
}

TEST_F(EngineTest, AStreamMadeWithoutDecoderPlaysOnceAskedTo) {
    const StreamHandle handle = engine.StreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0);
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(engine.ChannelPlay(handle, false));
    Wait(200ms);
    EXPECT_NEAR(Seconds(handle), 0.2, TimeSlackSeconds);
    ASSERT_TRUE(engine.ChannelStop(handle));
    EXPECT_GE(engine.ChannelBytes2Seconds(handle, 0), 0.0); // not auto-free: still there
    EXPECT_TRUE(engine.StreamFree(handle));
    EXPECT_FALSE(engine.StreamFree(handle));
}

TEST(AudioEngineDevice, TheFirstOutputDevicePlaysInRealTime) {
    // The dummy driver stands in for a sound card; without one the device may be missing.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // What the program was started with (a shell's background job ignores SIGINT).
    std::map<int, sighandler_t> before;
    for (const int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        before[signal] = action.sa_handler;
    }
    AudioEngine engine;
    if (!engine.Init(FirstOutputDevice, 44100, 0, nullptr, nullptr)) {
        GTEST_SKIP() << "no output device here";
    }
    const StreamHandle handle =
        engine.StreamCreateFile(false, test::Fixture("tone.mp3"), 0, 0, AutoFreeFlag);
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(engine.ChannelPlay(handle, false));
    Wait(400ms);
    const double position = engine.ChannelBytes2Seconds(handle, engine.ChannelGetPosition(handle));
    // SDL hands over whole buffers ahead of time, so allow one buffer more.
    EXPECT_NEAR(position, 0.4, TimeSlackSeconds + 0.05);
    EXPECT_TRUE(engine.Free());
    // The sound system must leave the program's signals alone: a session's logout ends the
    // program with SIGTERM.
    for (const int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, before[signal]) << signal;
    }
}

// A machine without a sound card: the first output device still plays, silently, in real
// time. In a fresh process, since the sound system chooses its driver once per process.
TEST(AudioEngineDevice, WithoutADeviceTheFirstOutputPlaysSilently) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            AudioEngine engine;
            const bool initialised = engine.Init(FirstOutputDevice, 44100, 0, nullptr, nullptr);
            const StreamHandle handle =
                engine.StreamCreateFile(false, test::Fixture("tone.mp3"), 0, 0, AutoFreeFlag);
            const bool playing = handle != 0 && engine.ChannelPlay(handle, false);
            Wait(300ms);
            const double position =
                engine.ChannelBytes2Seconds(handle, engine.ChannelGetPosition(handle));
            std::_Exit(initialised && playing && position > 0.1 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tralvo::playback
