#pragma once

#include <cstdint>
#include <span>

namespace tralvo::test {

// The signal on every channel of the good audio fixtures (scripts/make-audio-fixtures):
// 0.5 * sin(2 pi (StartHz t + HzPerSecond / 2 t^2)). Every moment of it has a waveform of
// its own, so decoded audio tells where in the file it comes from.
constexpr double SweepAmplitude = 0.5;
constexpr double SweepStartHz = 100.0;
constexpr double SweepHzPerSecond = 2000.0;

// The sweep at a time, as a fraction of full scale.
double SweepAt(double seconds);

// Where the first channel of interleaved stereo 16-bit output frames (44100 Hz) matches the
// sweep best: the output frame of its first frame, searched within expected +- radius.
std::int64_t LocateInSweep(std::span<const std::int16_t> interleaved, std::int64_t expected,
                           std::int64_t radius);

// How far interleaved stereo 16-bit output frames (44100 Hz) are from the sweep on both
// channels, the first of them taken at output frame first: the RMS of the difference over
// the RMS of the sweep. Lossy coding leaves a few hundredths; one frame out of place at a
// kilohertz makes it about 0.14, a mono file mixed 3 dB down about 0.3.
double DistanceFromSweep(std::span<const std::int16_t> interleaved, std::int64_t first);

} // namespace tralvo::test
