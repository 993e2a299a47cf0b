#include "gui/main_window/preview_player.h"

#include "gui/qt_text.h"
#include "media/sound_file.h"
#include "playback/play_time.h"

#include <QTimer>
#include <utility>

namespace tralvo {

namespace {

constexpr int TimerInterval = 500;

// The engine opens WMA files only through its WMA call, and other files only through the other.
playback::Result<playback::Stream> OpenStream(playback::EngineHold& engine,
                                              const std::string& path) {
    return media::KindOfPath(path) == media::KindWma ? engine.OpenWmaStream(path)
                                                     : engine.OpenStream(path);
}

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
    if (engine_) {
        return;
    }
    if (auto hold = playback::EngineHold::OpenOutputOrSilent()) {
        engine_ = std::move(*hold);
    }
}

void PreviewPlayer::ReleaseEngine() {
    engine_.reset();
}

void PreviewPlayer::Play(const std::string& path) {
    Stop();
    file_ = path;
    HoldEngine();
    stream_.reset();
    if (engine_) {
        if (auto opened = OpenStream(*engine_, path)) {
            stream_ = std::move(*opened);
        }
    }
    if (stream_) {
        stream_->Play();
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
    if (!stream_) {
        return;
    }
    // Pausing a paused stream fails with "already": the button then resumes it.
    if (stream_->Pause() == playback::Outcome::Already) {
        stream_->Play();
    }
}

void PreviewPlayer::Stop() {
    HoldEngine();
    if (stream_) {
        stream_->Stop();
    }
}

void PreviewPlayer::SeekTo(int x, int barWidth) {
    HoldEngine();
    if (!stream_) {
        return;
    }
    const playback::Result<double> length = stream_->Length();
    if (!length) {
        return;
    }
    if (const auto target = playback::SeekTarget(*length, x, barWidth)) {
        stream_->SeekTo(*target);
        UpdatePosition();
    }
}

void PreviewPlayer::SetVolume(int volume) {
    HoldEngine();
    if (engine_) {
        engine_->SetVolume(volume);
    }
}

int PreviewPlayer::Volume() {
    const bool held = engine_.has_value();
    HoldEngine();
    const int volume = engine_ ? engine_->Volume().ValueOr(0) : 0;
    if (!held) {
        ReleaseEngine();
    }
    return volume;
}

void PreviewPlayer::UpdatePosition() {
    HoldEngine();
    if (!stream_) {
        // The timer runs on only when Play stopped the stream it showed and then could not
        // open the next file: the status line would keep showing a file no longer in play.
        if (timer_->isActive()) {
            ShowIdle();
        }
        return;
    }
    const playback::Result<double> position = stream_->Position();
    const playback::Result<double> length = stream_->Length();
    if (position && length) {
        const std::int64_t pos = playback::RoundHalfEven(*position);
        const std::int64_t len = playback::RoundHalfEven(*length);
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
    stream_.reset();
    timer_->stop();
    ReleaseEngine();
    emit Idle();
}

} // namespace tralvo
