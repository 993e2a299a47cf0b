#include "playback/audio_output.h"
#include "playback/output_format.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace tralvo::playback {

namespace {

// A clock-driven thread that asks for as many frames as real time has let pass.
class SilentOutput final : public AudioOutput {
public:
    ~SilentOutput() override { Stop(); }

    bool Start(MixCallback mix) override {
        Stop();
        stopping_ = false;
        thread_ = std::thread([this, mix = std::move(mix)] { Run(mix); });
        return true;
    }

    void Stop() override {
        if (!thread_.joinable()) {
            return;
        }
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    static constexpr std::chrono::milliseconds Tick{10};
    static constexpr std::uint64_t MaxFramesPerCall = 4096;

    void Run(const MixCallback& mix) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        std::uint64_t framesDone = 0;
        std::vector<std::uint8_t> buffer(MaxFramesPerCall * BytesPerFrame);
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            lock.unlock();
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            const std::uint64_t framesDue =
                static_cast<std::uint64_t>(elapsed.count()) * OutputRate / 1'000'000;
            while (framesDone < framesDue) {
                const std::uint64_t frames = std::min(framesDue - framesDone, MaxFramesPerCall);
                mix(std::span(buffer).first(frames * BytesPerFrame));
                framesDone += frames;
            }
            lock.lock();
            wake_.wait_for(lock, Tick, [this] { return stopping_; });
        }
    }

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

} // namespace

std::unique_ptr<AudioOutput> MakeSilentOutput() {
    return std::make_unique<SilentOutput>();
}

} // namespace tralvo::playback
