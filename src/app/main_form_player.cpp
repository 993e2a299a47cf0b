// The preview player: its hold on the audio engine, play, pause, stop, seek, the volume and
// the status line with the position bar.
#include "app/language_catalogue.h"
#include "app/main_form.h"
#include "app/qt_text.h"
#include "arrange/track_loading.h"
#include "panes/file_list_model.h"
#include "panes/shell_tree.h"
#include "platform/text.h"
#include "playback/audio_engine.h"
#include "playback/play_time.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace tralvo {

namespace {

constexpr int PlayerTimerInterval = 500;
constexpr const char* IdleTextKey = "TMainForm.PlayerStatusEB.Text";

// Hands the events of one object to a handler of its own, which says whether it consumed
// them. The window's own event filter serves the other parts of the window.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QEvent&)>;

    EventHook(QObject* watched, Handler handler) : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return handler_(*event); }

private:
    Handler handler_;
};

bool IsWmaFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return false;
    }
    return ToLowerAscii(std::string_view(path).substr(dot)) == ".wma";
}

// Back to idle once the stream in play is gone.
void ShowPlayerIdle(TMainForm& form) {
    form.PlayingFile.clear();
    form.PlayingStream = 0;
    form.PlayerStatusEB->setText(CatalogueText(GetLangProperty(IdleTextKey, true)));
    form.PlayerPB->setValue(0);
    form.PlayerTimer->stop();
    form.ReleaseEngine();
}

} // namespace

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

void TMainForm::ConnectPlayer() {
    connect(PlayBtn, &QToolButton::clicked, this, &TMainForm::PlayBtnClick);
    connect(PauseBtn, &QToolButton::clicked, this, &TMainForm::PauseBtnClick);
    connect(StopBtn, &QToolButton::clicked, this, &TMainForm::StopBtnClick);

    PlayerTimer->setInterval(PlayerTimerInterval);
    PlayerTimer->stop();
    connect(PlayerTimer, &QTimer::timeout, this, &TMainForm::PlayerTimerTimer);

    // A double click anywhere in a list plays its current item, as the Play button does.
    for (QListView* list : {FilesLB, TracksLB}) {
        new EventHook(list->viewport(), [this](QEvent& event) {
            if (event.type() == QEvent::MouseButtonDblClick) {
                PlayBtnClick();
            }
            return false;
        });
    }
    // The second press of a double click arrives as a double click: it seeks too.
    new EventHook(PlayerPB, [this](QEvent& event) {
        if (event.type() == QEvent::MouseButtonPress ||
            event.type() == QEvent::MouseButtonDblClick) {
            PlayerPBMouseDown(static_cast<QMouseEvent&>(event).position().toPoint().x());
        }
        return false;
    });
    new EventHook(PlayerStatusEB, [this](QEvent& event) {
        if (event.type() != QEvent::FocusIn) {
            return false;
        }
        PlayerStatusEBEnter();
        // The text box no longer has the focus: it must not set up its cursor as if it had.
        return !PlayerStatusEB->hasFocus();
    });
}

void TMainForm::PlayBtnClick() {
    QListView* source = FilesLB->hasFocus() ? FilesLB : TracksLB->hasFocus() ? TracksLB : nullptr;
    if (source == nullptr) {
        return;
    }
    const int index = source->currentIndex().row();
    const QItemSelectionModel* selection = source->selectionModel();
    if (index < 0 || (selection != nullptr && selection->selectedRows().size() > 1)) {
        return;
    }
    StopBtnClick();

    std::string path;
    if (source == TracksLB) {
        path = TrackPath(index);
    } else {
        const std::vector<std::string>& names = FilesModel->Names();
        if (static_cast<std::size_t>(index) < names.size()) {
            path = FolderWithSlash(MyComputerST->Path()) + names[static_cast<std::size_t>(index)];
        }
    }

    PlayingFile = path;
    EnsureEngine();
    playback::AudioEngine& engine = playback::Engine();
    PlayingStream = IsWmaFile(path)
                        ? engine.WmaStreamCreateFile(false, path, 0, 0, playback::AutoFreeFlag)
                        : engine.StreamCreateFile(false, path, 0, 0, playback::AutoFreeFlag);
    if (PlayingStream != 0) {
        engine.ChannelPlay(PlayingStream, false);
        if (!PlayerTimer->isActive()) {
            PlayerTimer->start();
        }
    } else {
        // Not reported: the player simply stays as it was.
        PlayingFile.clear();
        ReleaseEngine();
    }
}

void TMainForm::PauseBtnClick() {
    EnsureEngine();
    if (PlayingStream == 0) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    // Pausing a paused stream fails with "already": the button then resumes it.
    if (!engine.ChannelPause(PlayingStream) && engine.ErrorGetCode() == playback::ErrorAlready) {
        engine.ChannelPlay(PlayingStream, false);
    }
}

void TMainForm::PlayerTimerTimer() {
    EnsureEngine();
    if (PlayingStream == 0) {
        // The timer runs on only when Play stopped the stream it showed and then could not
        // open the next file: the status line would keep showing a file no longer in play.
        if (PlayerTimer->isActive()) {
            ShowPlayerIdle(*this);
        }
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    const double position =
        engine.ChannelBytes2Seconds(PlayingStream, engine.ChannelGetPosition(PlayingStream));
    const double length =
        engine.ChannelBytes2Seconds(PlayingStream, engine.ChannelGetLength(PlayingStream));
    // Compared before rounding: a released stream's small negative value would round to 0.
    if (position >= 0 && length >= 0) {
        const std::int64_t pos = playback::RoundHalfEven(position);
        const std::int64_t len = playback::RoundHalfEven(length);
        const QString text = PathText(playback::PlayStatusText(pos, len, PlayingFile));
        if (PlayerStatusEB->text() != text) {
            PlayerStatusEB->setText(text);
        }
        PlayerPB->setValue(playback::PlayBarPosition(pos, len));
        return;
    }
    // Stopped or played to its end: the engine has released the stream by itself.
    ShowPlayerIdle(*this);
}

void TMainForm::PlayerPBMouseDown(int x) {
    EnsureEngine();
    if (PlayingStream == 0) {
        return;
    }
    playback::AudioEngine& engine = playback::Engine();
    const auto length = static_cast<std::int64_t>(engine.ChannelGetLength(PlayingStream));
    if (const auto target = playback::SeekTarget(length, x, PlayerPB->width())) {
        engine.ChannelSetPosition(PlayingStream, *target);
        PlayerTimerTimer();
    }
}

void TMainForm::PlayerStatusEBEnter() {
    QPushButton* next = TralvoBtn->isEnabled() ? TralvoBtn : ExitBtn;
    next->setFocus(Qt::OtherFocusReason);
}

} // namespace tralvo
