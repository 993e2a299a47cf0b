#include "gui/main_window/preview_player.h"

#include "gui/qt_text.h"
#include "media/sound_file.h"
#include "playback/play_time.h"

#include <QTimer>
#include <algorithm>

namespace tralvo {

namespace {

constexpr int TimerInterval = 500;

} // namespace

PreviewPlayer::PreviewPlayer(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("PlayerTimer"));
    timer_->setInterval(TimerInterval);
    connect(timer_, &QTimer::timeout, this, &PreviewPlayer::UpdatePosition);
}

PreviewPlayer::~PreviewPlayer() {
    Stop();
    ReleaseEngine();
}

bool PreviewPlayer::Ticking() const {
    return timer_->isActive();
}

void PreviewPlayer::HoldEngine() {
    if (engineHeld_) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    // Without an output device the silent one plays in real time; the player counts the
    // engine as ready either way.
    if (!engine.Init(playback::FirstOutputDevice, 44100, 0, this, nullptr)) {
        engine.Init(playback::NoSoundDevice, 44100, 0, this, nullptr);
    }
    engineHeld_ = true;
}

void PreviewPlayer::ReleaseEngine() {
    if (engineHeld_) {
        playback::Engine().Free();
        engineHeld_ = false;
    }
}

void PreviewPlayer::Play(const std::string& path) {
    Stop();
    file_ = path;
    HoldEngine();
    playback::AudioEngine& engine = playback::Engine();
    stream_ = media::KindOfPath(path) == media::KindWma
                  ? engine.WmaStreamCreateFile(false, path, 0, 0, playback::AutoFreeFlag)
                  : engine.StreamCreateFile(false, path, 0, 0, playback::AutoFreeFlag);
    if (stream_ != 0) {
        engine.ChannelPlay(stream_, false);
        if (!timer_->isActive()) {
            timer_->start();
        }
    } else {
        file_.clear();
        ReleaseEngine();
    }
}

void PreviewPlayer::Pause() {
    HoldEngine();
    if (stream_ == 0) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    // Pausing a paused stream fails with "already": the button then resumes it.
    if (!engine.ChannelPause(stream_) && engine.ErrorGetCode() == playback::ErrorAlready) {
        engine.ChannelPlay(stream_, false);
    }
}

void PreviewPlayer::Stop() {
    HoldEngine();
    if (stream_ != 0) {
        playback::Engine().ChannelStop(stream_);
    }
}

void PreviewPlayer::SeekTo(int x, int barWidth) {
    HoldEngine();
    if (stream_ == 0) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    const auto length = static_cast<std::int64_t>(engine.ChannelGetLength(stream_));
    if (const auto target = playback::SeekTarget(length, x, barWidth)) {
        engine.ChannelSetPosition(stream_, *target);
        UpdatePosition();
    }
}

void PreviewPlayer::SetVolume(int volume) {
    HoldEngine();
    playback::Engine().SetVolume(volume);
}

int PreviewPlayer::Volume() {
    const bool held = engineHeld_;
    HoldEngine();
    const int volume = std::max(playback::Engine().GetVolume(), 0);
    if (!held) {
        ReleaseEngine();
    }
    return volume;
}

void PreviewPlayer::UpdatePosition() {
    HoldEngine();
    if (stream_ == 0) {
        // The timer runs on only when Play stopped the stream it showed and then could not
        // open the next file: the status line would keep showing a file no longer in play.
        if (timer_->isActive()) {
            ShowIdle();
        }
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    const double position =
        engine.ChannelBytes2Seconds(stream_, engine.ChannelGetPosition(stream_));
    const double length = engine.ChannelBytes2Seconds(stream_, engine.ChannelGetLength(stream_));
    // Compared before rounding: a released stream's small negative value would round to 0.
    if (position >= 0 && length >= 0) {
        const std::int64_t pos = playback::RoundHalfEven(position);
        const std::int64_t len = playback::RoundHalfEven(length);
        emit StatusChanged(PathText(playback::PlayStatusText(pos, len, file_)));
        emit PositionChanged(playback::PlayBarPosition(pos, len));
        return;
    }
    // Stopped or played to its end: the engine has released the stream by itself.
    ShowIdle();
}

// Back to idle once the stream in play is gone.
void PreviewPlayer::ShowIdle() {
    file_.clear();
    stream_ = 0;
    timer_->stop();
    ReleaseEngine();
    emit Idle();
}

} // namespace tralvo
