#pragma once

#include "playback/engine_hold.h"
#include "playback/stream.h"

#include <QObject>
#include <QString>
#include <optional>
#include <string>

class QTimer;

namespace tralvo {

// The preview player: its hold on the audio engine, the stream and the file in play, and the
// timer that reports the position twice a second. The engine is held only while something
// plays or the volume is set, so the program leaves the sound device alone otherwise.
class PreviewPlayer : public QObject {
    Q_OBJECT
public:
    explicit PreviewPlayer(QObject* parent = nullptr);
    ~PreviewPlayer() override;

    // Stops what plays, then plays path. A file that will not open is not reported: the
    // player stays idle, and the next tick says so if something played before.
    void Play(const std::string& path);
    // Pauses, or resumes a paused stream.
    void Pause();
    // The next tick notices that the stream has gone and reports the player idle.
    void Stop();
    // Seeks to where a press at x falls on a bar of barWidth pixels, and reports at once.
    void SeekTo(int x, int barWidth);
    void SetVolume(int volume);
    // The engine's volume, 0..100; the engine is let go again unless it was held.
    int Volume();
    // Reads the position and reports it, or reports the player idle once the stream is gone.
    void UpdatePosition();

    const std::string& FileInPlay() const { return file_; }
    playback::StreamHandle Stream() const { return stream_ ? stream_->Handle() : 0; }
    bool HoldsEngine() const { return engine_.has_value(); }
    bool Ticking() const;

signals:
    // The status line's text while a file plays: position, length and name.
    void StatusChanged(const QString& status);
    // The position bar's value, 0..1000.
    void PositionChanged(int position);
    // Nothing plays any more: the status line goes back to its hint.
    void Idle();

private:
    void HoldEngine();
    void ReleaseEngine();
    void ShowIdle();

    QTimer* timer_;
    // The stream goes before the hold that frees the engine.
    std::optional<playback::EngineHold> engine_;
    std::optional<playback::Stream> stream_;
    std::string file_;
};

} // namespace tralvo
