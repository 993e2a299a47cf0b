#pragma once

// Our work and its baseline timed in turns within one benchmark, iteration by iteration, so
// that both see the same state of a shared machine. The best time of each counts, as in the
// other benchmarks here; the ratio ours / baseline is reported with the goal beside it.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <limits>

namespace tralvo::bench {

class PairedTiming {
public:
    // Times work once; ours goes into the benchmark's own (manual) iteration time.
    template <typename Work>
    double Ours(benchmark::State& state, Work&& work) {
        const double seconds = Time(work);
        state.SetIterationTime(seconds);
        ours_ = std::min(ours_, seconds);
        return seconds;
    }
    template <typename Work>
    double Baseline(Work&& work) {
        const double seconds = Time(work);
        baseline_ = std::min(baseline_, seconds);
        return seconds;
    }

    void Report(benchmark::State& state, double goal) const {
        state.counters["ours_ms"] = ours_ * 1e3;
        state.counters["base_ms"] = baseline_ * 1e3;
        Ratio(state, ours_ / baseline_, goal);
    }
    // Costs per unit (a comparison, say) instead of whole runs: each best time is divided by
    // its own count.
    void ReportPerUnit(benchmark::State& state, double goal, double oursUnits,
                       double baselineUnits) const {
        const double ours = ours_ / oursUnits;
        const double baseline = baseline_ / baselineUnits;
        state.counters["ours_ns"] = ours * 1e9;
        state.counters["base_ns"] = baseline * 1e9;
        Ratio(state, ours / baseline, goal);
    }

private:
    static void Ratio(benchmark::State& state, double ratio, double goal) {
        state.counters["ratio"] = ratio;
        state.counters["goal"] = goal;
        state.counters["met"] = ratio <= goal ? 1 : 0;
    }

    template <typename Work>
    static double Time(Work& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        return spent.count();
    }

    double ours_ = std::numeric_limits<double>::infinity();
    double baseline_ = std::numeric_limits<double>::infinity();
};

} // namespace tralvo::bench
