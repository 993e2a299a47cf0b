// The preview player's hold on the audio engine, and the volume.
#include "app/main_form.h"
#include "playback/audio_engine.h"

#include <QSlider>

namespace tralvo {

void TMainForm::EnsureEngine() {
    if (EngineReady) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    // Without an output device the silent one plays in real time; the player counts the
    // engine as ready either way.
    if (!engine.Init(playback::FirstOutputDevice, 44100, 0, this, nullptr)) {
        engine.Init(playback::NoSoundDevice, 44100, 0, this, nullptr);
    }
    EngineReady = true;
}

void TMainForm::ReleaseEngine() {
    if (EngineReady) {
        playback::Engine().Free();
        EngineReady = false;
    }
}

void TMainForm::StopBtnClick() {
    EnsureEngine();
    if (PlayingStream != 0) {
        playback::Engine().ChannelStop(PlayingStream);
    }
}

void TMainForm::VolumeTBChange() {
    EnsureEngine();
    playback::Engine().SetVolume(VolumeTB->value());
}

} // namespace tralvo
