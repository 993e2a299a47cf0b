#include "sweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tralvo::test {
namespace {

constexpr double Rate = 44100.0;
constexpr double FullScale = 32768.0;

} // namespace

double SweepAt(double seconds) {
    const double cycles = SweepStartHz * seconds + SweepHzPerSecond / 2 * seconds * seconds;
    return SweepAmplitude * std::sin(2 * std::numbers::pi * cycles);
}

std::int64_t LocateInSweep(std::span<const std::int16_t> interleaved, std::int64_t expected,
                           std::int64_t radius) {
    const auto frames = static_cast<std::int64_t>(interleaved.size() / 2);
    const std::int64_t first = std::max<std::int64_t>(0, expected - radius);
    const std::int64_t last = expected + radius;
    // The sweep over every candidate position, computed once; float keeps the search quick
    // enough for the sanitizer builds.
    std::vector<float> sweep(static_cast<std::size_t>(last - first + frames));
    for (std::size_t i = 0; i < sweep.size(); ++i) {
        sweep[i] = static_cast<float>(
            SweepAt(static_cast<double>(first) / Rate + static_cast<double>(i) / Rate));
    }
    std::vector<float> channel(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < channel.size(); ++i) {
        channel[i] = interleaved[2 * i];
    }
    float best = -1.0f;
    std::int64_t bestAt = first;
    for (std::int64_t at = first; at <= last; ++at) {
        const float* reference = sweep.data() + (at - first);
        float sum = 0.0f;
        for (std::size_t i = 0; i < channel.size(); ++i) {
            sum += reference[i] * channel[i];
        }
        if (sum > best) {
            best = sum;
            bestAt = at;
        }
    }
    return bestAt;
}

double DistanceFromSweep(std::span<const std::int16_t> interleaved, std::int64_t first) {
    double difference = 0.0;
    double sweep = 0.0;
    for (std::size_t i = 0; i < interleaved.size(); ++i) {
        const double expected =
            SweepAt(static_cast<double>(first + static_cast<std::int64_t>(i / 2)) / Rate);
        const double error = interleaved[i] / FullScale - expected;
        difference += error * error;
        sweep += expected * expected;
    }
    return std::sqrt(difference / sweep);
}

} // namespace tralvo::test
