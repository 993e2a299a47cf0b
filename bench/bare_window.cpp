// The start-up baseline: a bare Qt Widgets program that shows an empty 590 x 480 window and
// ends right after its first paint, as Tralvo does with TRALVO_EXIT_AFTER_FIRST_PAINT set.
//
// Built in variants that add one thing to the bare program, to see what it costs at start:
//   BARE_WINDOW_LINKS_SDL      SDL2 linked (and so loaded with the program);
//   BARE_WINDOW_LINKS_FFMPEG   FFmpeg and SDL2 linked, as the audio engine once linked them;
//   BARE_WINDOW_TEXT           one label and one push button in the window: the least any
//                              window with text pays (the font set-up and text drawing);
//   BARE_WINDOW_ENGINE         the audio engine linked, doing what the main window does with it
//                              while it is created: the version check and the start-up
//                              volume read (first output device, else the silent one).

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#if defined(BARE_WINDOW_LINKS_SDL) || defined(BARE_WINDOW_LINKS_FFMPEG)
#include <SDL_version.h>
#endif
#ifdef BARE_WINDOW_LINKS_FFMPEG
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
}
#endif
#ifdef BARE_WINDOW_ENGINE
#include "playback/engine_hold.h"
#include "playback/engine_version.h"
#endif

#include <cstdio>
#include <cstdlib>

namespace {

// Something of each library is called, so that the linker keeps it.
int UseTheLibraries() {
    int sum = 0;
#if defined(BARE_WINDOW_LINKS_SDL) || defined(BARE_WINDOW_LINKS_FFMPEG)
    SDL_version version{};
    SDL_GetVersion(&version);
    sum += version.major;
#endif
#ifdef BARE_WINDOW_LINKS_FFMPEG
    sum += static_cast<int>(
        (avformat_version() ^ avcodec_version() ^ avutil_version() ^ swresample_version()) >> 16);
#endif
#ifdef BARE_WINDOW_ENGINE
    using namespace tralvo::playback;
    sum += static_cast<int>(HasExpectedVersion());
    const auto hold = EngineHold::OpenOutputOrSilent();
    sum += hold ? hold->Volume().ValueOr(-1) : -1;
#endif
    return sum;
}

class BareWindow final : public QWidget {
public:
    BareWindow() {
        resize(590, 480);
#ifdef BARE_WINDOW_TEXT
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Double-click a track to play it.")));
        layout->addWidget(new QPushButton(QStringLiteral("Exit")));
#endif
        if (UseTheLibraries() < 0) {
            std::fputs("unexpected\n", stderr);
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (!painted_) {
            painted_ = true;
            // Ends at once, as Tralvo does in its benchmark mode: the measure is up to the
            // first paint, not the tidying up after it.
            QTimer::singleShot(0, this, [] { std::_Exit(0); });
        }
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
