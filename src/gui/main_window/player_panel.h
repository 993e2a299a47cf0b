#pragma once

#include "gui/widgets/anchored_panel.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;
class QToolButton;

namespace tralvo {

class PreviewPlayer;

// The preview player's panel at the window's bottom: the status line, the play, pause and
// stop buttons, the position bar and the volume. It shows what the player it is bound to
// reports and hands the user's presses to it.
class PlayerPanel : public AnchoredPanel {
    Q_OBJECT
public:
    explicit PlayerPanel(QWidget* parent = nullptr);

    // Binds the controls to player; the volume control shows the engine's volume.
    void Bind(PreviewPlayer& player);
    // From the right, once the texts are in, so that a long translated volume label shortens
    // the position bar instead of overlapping it.
    void LayOut();

    // A note on the player folder, shown while nothing plays; empty for none.
    void ShowNote(const QString& note);

    // The window's tab order runs through the volume control.
    QSlider* VolumeControl() const { return volume_; }

signals:
    // The Play button: the window knows which list's item is to play.
    void PlayRequested();
    // The status line takes no focus: the window hands it on at once.
    void StatusLineFocused();

private:
    void ShowStatus(const QString& status);
    void ShowIdle();

    QLineEdit* status_;
    QToolButton* play_;
    QToolButton* pause_;
    QToolButton* stop_;
    QProgressBar* position_;
    QLabel* volumeLabel_;
    QSlider* volume_;
    QString note_;
    bool idle_ = true;
};

} // namespace tralvo
