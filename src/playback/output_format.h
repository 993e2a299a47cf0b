#pragma once

#include <cstdint>

namespace tralvo::playback {

// Every stream is decoded to one format, so byte positions mean the same in every stream.
constexpr int OutputRate = 44100;
constexpr int OutputChannels = 2;
constexpr int BytesPerSample = 2; // signed 16-bit, native byte order
constexpr int BytesPerFrame = OutputChannels * BytesPerSample;
constexpr std::uint64_t BytesPerSecond = std::uint64_t{OutputRate} * BytesPerFrame;

} // namespace tralvo::playback
