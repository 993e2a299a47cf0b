#include "gui/main_window/player_panel.h"

#include "gui/main_window/event_hook.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/icons.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/widget_names.h"
#include "i18n/language_catalogue.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>

namespace tralvo {

namespace {

constexpr const char* IdleTextKey = "TMainForm.PlayerStatusEB.Text";

} // namespace

PlayerPanel::PlayerPanel(QWidget* parent) : AnchoredPanel(QSize(398, 53), parent) {
    setObjectName(QStringLiteral("PlayerPanel"));

    // Made inside its panel: a line edit lays out its text at once, in its font then.
    status_ = Named(new QLineEdit(this), "PlayerStatusEB");
    status_->setReadOnly(true);
    status_->setFocusPolicy(Qt::ClickFocus);
    status_->setContextMenuPolicy(Qt::NoContextMenu);
    status_->setText(QStringLiteral("PlayerStatusEB"));
    SetNamedByString(*status_, "PlayerStatus"); // it shows the status, it has no label
    Place(status_, {0, 0, 398, 21}, Left | Top | Right);

    const auto button = [this](const char* name, PlayerGlyph glyph, int left) {
        auto* made = Named(new QToolButton, name);
        made->setAutoRaise(true);
        made->setIcon(PlayerIcon(glyph));
        made->setIconSize(QSize(16, 16));
        made->setFocusPolicy(Qt::NoFocus);
        Place(made, {left, 24, 28, 28});
        return made;
    };
    play_ = button("PlayBtn", PlayerGlyph::Play, 0);
    pause_ = button("PauseBtn", PlayerGlyph::Pause, 28);
    stop_ = button("StopBtn", PlayerGlyph::Stop, 56);

    position_ = Named(new QProgressBar, "PlayerPB");
    position_->setRange(0, 1000);
    position_->setValue(0);
    position_->setTextVisible(false);
    position_->setCursor(Qt::PointingHandCursor);
    Place(position_, {92, 32, 142, 13}, Left | Top | Right);

    volumeLabel_ = Named(new QLabel(QStringLiteral("VolumeLbl")), "VolumeLbl");
    Place(volumeLabel_, {245, 32, volumeLabel_->sizeHint().width(), 13}, Top | Right);

    volume_ = Named(new QSlider(Qt::Horizontal), "VolumeTB");
    volume_->setRange(0, 100);
    volume_->setValue(50);
    volume_->setPageStep(10);
    volume_->setTickInterval(10);
    volume_->setTickPosition(QSlider::TicksBelow);
    Place(volume_, {297, 24, 101, 28}, Top | Right);
    SetNamedBy(*volume_, "VolumeLbl");

    connect(play_, &QToolButton::clicked, this, &PlayerPanel::PlayRequested);
    new EventHook(status_, [this](QEvent& event) {
        if (event.type() != QEvent::FocusIn) {
            return false;
        }
        emit StatusLineFocused();
        // The text box no longer has the focus: it must not set up its cursor as if it had.
        return !status_->hasFocus();
    });
}

void PlayerPanel::Bind(PreviewPlayer& player) {
    PreviewPlayer* bound = &player;
    connect(pause_, &QToolButton::clicked, bound, &PreviewPlayer::Pause);
    connect(stop_, &QToolButton::clicked, bound, &PreviewPlayer::Stop);
    // The second press of a double click arrives as a double click: it seeks too.
    new EventHook(position_, [this, bound](QEvent& event) {
        if (event.type() == QEvent::MouseButtonPress ||
            event.type() == QEvent::MouseButtonDblClick) {
            bound->SeekTo(static_cast<QMouseEvent&>(event).position().toPoint().x(),
                          position_->width());
        }
        return false;
    });
    connect(bound, &PreviewPlayer::StatusChanged, this, &PlayerPanel::ShowStatus);
    connect(bound, &PreviewPlayer::PositionChanged, position_, &QProgressBar::setValue);
    connect(bound, &PreviewPlayer::Idle, this, &PlayerPanel::ShowIdle);
    // Shown before the control is bound: showing the engine's own volume sets nothing.
    volume_->setValue(bound->Volume());
    connect(volume_, &QSlider::valueChanged, bound, &PreviewPlayer::SetVolume);
}

void PlayerPanel::LayOut() {
    const QRect bar = DesignRect(volume_);
    const int barLeft = width() - bar.width();
    Move(volume_, {barLeft, bar.top(), bar.width(), bar.height()});
    const QRect label = DesignRect(volumeLabel_);
    const int labelWidth = volumeLabel_->sizeHint().width();
    const int labelLeft = barLeft - labelWidth;
    Move(volumeLabel_, {labelLeft, label.top(), labelWidth, volumeLabel_->sizeHint().height()});
    const QRect position = DesignRect(position_);
    Move(position_,
         {position.left(), position.top(), labelLeft - position.left() - 16, position.height()});
}

void PlayerPanel::ShowNote(const QString& note) {
    if (note == note_) {
        return;
    }
    note_ = note;
    if (idle_) {
        ShowIdle();
    }
}

void PlayerPanel::ShowStatus(const QString& status) {
    idle_ = false;
    // Set only when it changed: a selection in the line would be lost at every tick.
    if (status_->text() != status) {
        status_->setText(status);
    }
}

void PlayerPanel::ShowIdle() {
    idle_ = true;
    status_->setText(note_.isEmpty() ? CatalogueText(GetLangProperty(IdleTextKey, true)) : note_);
    position_->setValue(0);
}

} // namespace tralvo
