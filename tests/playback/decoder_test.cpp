#include "fixtures.h"
#include "playback/decoder.h"
#include "playback/output_format.h"
#include "support/temp_folder.h"
#include "sweep.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace tralvo::playback {
namespace {

using Samples = std::vector<std::int16_t>;

std::int64_t Frames(double seconds) {
    return std::llround(seconds * OutputRate);
}

std::int64_t FramesIn(const Samples& samples) {
    return static_cast<std::int64_t>(samples.size() / OutputChannels);
}

// Reads up to frames output frames (all of them by default) in pieces of an odd size, so
// that every piece must be cut down to whole frames.
Samples Read(Decoder& decoder, std::int64_t frames = INT64_MAX) {
    constexpr std::int64_t piece = 1024;
    Samples samples;
    std::vector<std::uint8_t> buffer(piece * BytesPerFrame + 3);
    while (FramesIn(samples) < frames) {
        const std::int64_t wanted = std::min(piece, frames - FramesIn(samples));
        const std::size_t got = decoder.Read(
            std::span(buffer).first(static_cast<std::size_t>(wanted * BytesPerFrame + 3)));
        if (got % BytesPerFrame != 0) {
            ADD_FAILURE() << "a read of " << got << " bytes";
            break;
        }
        if (got == 0) {
            break;
        }
        const std::size_t before = samples.size();
        samples.resize(before + got / sizeof(std::int16_t));
        std::memcpy(samples.data() + before, buffer.data(), got);
    }
    return samples;
}

std::span<const std::int16_t> Window(const Samples& samples, std::int64_t first,
                                     std::int64_t frames) {
    return std::span(samples).subspan(static_cast<std::size_t>(first * OutputChannels),
                                      static_cast<std::size_t>(frames * OutputChannels));
}

// One fixture and what was measured of it with the FFmpeg of Debian 12.
struct Format {
    const char* name;
    double seconds;       // the length of the sweep in the file
    std::int64_t lead;    // frames of the sweep's start that its codec never gives back
    double lengthSlack;   // LengthBytes against the sweep's length, in seconds
    double decodedSlack;  // everything read against the sweep's length, in seconds
    double sweepDistance; // the most that test::DistanceFromSweep gives for the output
    bool seeksExact;      // a seek gives exactly the frames that reading from the start gives

    friend std::ostream& operator<<(std::ostream& out, const Format& format) {
        return out << format.name;
    }
};

std::string TestName(const ::testing::TestParamInfo<Format>& format) {
    std::string name = format.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

class DecoderFormat : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override {
        decoder = Decoder::Open(test::Fixture(GetParam().name));
        ASSERT_NE(decoder, nullptr);
    }

    std::unique_ptr<Decoder> decoder;
};

TEST_P(DecoderFormat, LengthAndEverythingReadMatchTheSweep) {
    const Format& format = GetParam();
    const std::uint64_t length = decoder->LengthBytes();
    EXPECT_EQ(length % BytesPerFrame, 0u);
    const auto lengthFrames = static_cast<std::int64_t>(length / BytesPerFrame);
    EXPECT_LE(std::abs(lengthFrames - Frames(format.seconds)), Frames(format.lengthSlack));
    const std::int64_t readFrames = FramesIn(Read(*decoder));
    EXPECT_LE(std::abs(readFrames - Frames(format.seconds)), Frames(format.decodedSlack));
}

// In time to the frame, at the sweep's level (FFmpeg's own mix would put mono 3 dB down),
// on both sides.
TEST_P(DecoderFormat, PlaysTheSweepInTimeAtItsLevelOnBothSides) {
    const Format& format = GetParam();
    const Samples samples = Read(*decoder);
    const std::int64_t window = Frames(0.05);
    for (const double fraction : {0.2, 0.5, 0.8}) {
        const std::int64_t at = Frames(format.seconds * fraction) - format.lead;
        ASSERT_LE(at + window, FramesIn(samples));
        EXPECT_LE(test::DistanceFromSweep(Window(samples, at, window), at + format.lead),
                  format.sweepDistance)
            << "at " << at;
    }
}

TEST_P(DecoderFormat, SeeksWhereReadingFromTheStartWouldBe) {
    const Format& format = GetParam();
    const Samples all = Read(*decoder);
    const std::int64_t window = std::min(Frames(0.04), Frames(format.seconds * 0.05));
    // Forwards and backwards, and to the very start.
    for (const double fraction : {0.33, 0.9, 0.05, 0.61, 0.0}) {
        const std::int64_t target = Frames(format.seconds * fraction);
        SCOPED_TRACE(target);
        // Three bytes more: a position inside a frame means that frame.
        ASSERT_TRUE(decoder->Seek(static_cast<std::uint64_t>(target) * BytesPerFrame + 3));
        const Samples piece = Read(*decoder, window);
        ASSERT_EQ(FramesIn(piece), window);
        if (format.seeksExact) {
            const auto linear = Window(all, target, window);
            EXPECT_TRUE(std::equal(piece.begin(), piece.end(), linear.begin(), linear.end()));
        } else { // within the 50 ms that a listener cannot tell
            const std::int64_t expected = target + format.lead;
            EXPECT_LE(std::abs(test::LocateInSweep(piece, expected, Frames(0.1)) - expected),
                      Frames(0.05));
        }
    }
}

TEST_P(DecoderFormat, SeekToTheStartAfterTheEndReplaysTheSameAudio) {
    const Samples first = Read(*decoder);
    ASSERT_TRUE(decoder->Seek(0));
    const Samples second = Read(*decoder);
    EXPECT_EQ(FramesIn(second), FramesIn(first));
    EXPECT_TRUE(first == second);
}

TEST_P(DecoderFormat, SeekPastTheLengthIsRefusedAndKeepsThePosition) {
    const Format& format = GetParam();
    const std::int64_t start = Frames(format.seconds / 3);
    const Samples expected = Read(*decoder);
    ASSERT_TRUE(decoder->Seek(0));
    ASSERT_EQ(FramesIn(Read(*decoder, start)), start);

    EXPECT_FALSE(decoder->Seek(decoder->LengthBytes() + BytesPerFrame));
    const Samples next = Read(*decoder, 1000);
    const auto linear = Window(expected, start, 1000);
    EXPECT_TRUE(std::equal(next.begin(), next.end(), linear.begin(), linear.end()));

    // At the length itself the stream is at its end, give or take what the container's
    // length misses.
    ASSERT_TRUE(decoder->Seek(decoder->LengthBytes()));
    EXPECT_LE(FramesIn(Read(*decoder)), Frames(format.decodedSlack));
}

INSTANTIATE_TEST_SUITE_P(
    DecoderFixtures, DecoderFormat,
    ::testing::Values(
        Format{"tone.wav", 3.0, 0, 0.0, 0.0, 0.0001, true},
        Format{"tone-22k-mono.wav", 3.0, 0, 0.0, 0.0, 0.001, true},
        // The container's length keeps the encoder's padding at the end; the decoder drops it.
        Format{"tone.mp3", 3.0, 0, 0.015, 0.0, 0.07, true},
        Format{"short.mp3", 0.3, 0, 0.015, 0.0, 0.07, true},
        Format{"tone.ogg", 3.0, 0, 0.0, 0.0, 0.03, true},
        Format{"tone-48k.ogg", 3.0, 0, 0.0, 0.0, 0.04, true},
        // FFmpeg's WMA decoder drops the first frame (2048 samples) of a stream that its own
        // encoder made, and the container's length keeps the padding of the last frame. The
        // container's timestamps are whole milliseconds, so seeks are as far off.
        Format{"tone.wma", 3.0, 2048, 0.02, 0.03, 0.01, false}),
    TestName);

TEST(Decoder, RefusesWhatHasNoPlayableFrame) {
    for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3", "", "truncated.mp3",
                             "truncated.ogg", "truncated.wma", "truncated.wav"}) {
        EXPECT_EQ(Decoder::Open(test::Fixture(name)), nullptr) << "'" << name << "'";
    }
}

// Cover pictures make ID3v2 tags larger than what FFmpeg reads to recognise a format or
// to learn a stream's parameters.
TEST(Decoder, OpensAnMp3WhoseTagIsLargerThanTheProbes) {
    const std::string mp3 = test::ReadFile(test::Fixture("tone.mp3"));
    ASSERT_GT(mp3.size(), 10u);
    std::size_t tagSize = 10;
    for (int i = 6; i < 10; ++i) {
        tagSize += static_cast<std::size_t>(mp3[static_cast<std::size_t>(i)] & 0x7f)
                   << (7 * (9 - i));
    }
    constexpr std::size_t padding = 3 << 20;
    std::string big = {'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7) {
        big += static_cast<char>((padding >> shift) & 0x7f);
    }
    big += std::string(padding, '\0') + mp3.substr(tagSize);
    const test::TempFolder folder;
    const auto decoder = Decoder::Open(folder.WriteFile("cover.mp3", big));
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(FramesIn(Read(*decoder)), Frames(3.0));
}

// Cut at three quarters of its bytes, each file still holds more than a second of whole
// frames (Ogg pages of a second are played whole or not at all).
TEST(Decoder, PlaysAFileCutShortUpToTheCut) {
    const test::TempFolder folder;
    for (const char* name : {"tone.mp3", "tone.ogg", "tone.wma", "tone.wav"}) {
        const std::string whole = test::ReadFile(test::Fixture(name));
        const auto decoder =
            Decoder::Open(folder.WriteFile(name, whole.substr(0, whole.size() * 3 / 4)));
        ASSERT_NE(decoder, nullptr) << name;
        const std::int64_t frames = FramesIn(Read(*decoder));
        EXPECT_GT(frames, Frames(1.0)) << name;
        EXPECT_LT(frames, Frames(2.5)) << name;
    }
}

} // namespace
} // namespace tralvo::playback
