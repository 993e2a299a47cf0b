#include "gui/panes/icons.h"

#include "gui/panes/picture_icon_engine.h"
#include "media/sound_file.h"

#include <QHash>
#include <array>

namespace tralvo {

namespace {

// One icon per picture, shared by every control and list row that shows it. Kept to the end
// of the process: icons must not outlive the application object in static destructors.
QIcon FromResource(const char* name) {
    static auto* icons = new QHash<const char*, QIcon>;
    auto found = icons->find(name);
    if (found == icons->end()) {
        found = icons->insert(name, QIcon(new PictureIconEngine(QString::fromLatin1(name))));
    }
    return *found;
}

} // namespace

QIcon ToolbarIcon(int index) {
    static constexpr std::array<const char*, ToolbarIconCount> names = {
        "toolbar/refresh.svg",  "toolbar/properties.svg",
        "toolbar/upload.svg",   "toolbar/delete.svg",
        "toolbar/settings.svg", "toolbar/help.svg",
        "toolbar/about.svg",    "toolbar/download.svg",
        "toolbar/up.svg",       "toolbar/down.svg",
        "toolbar/sort.svg",     "toolbar/reverse-sort.svg",
        "toolbar/shuffle.svg",  "toolbar/clean.svg",
        "toolbar/playlist.svg", "toolbar/export-playlist.svg",
    };
    if (index < 0 || index >= ToolbarIconCount) {
        return {};
    }
    return FromResource(names[static_cast<std::size_t>(index)]);
}

QIcon FileKindIcon(int kind, bool large) {
    // By media::SoundKind, KindMp3 first.
    static constexpr std::array<const char*, media::KindUnknown> large24 = {
        "kinds/mp3-24.svg", "kinds/ogg-24.svg", "kinds/wma-24.svg", "kinds/wav-24.svg"};
    static constexpr std::array<const char*, media::KindUnknown> small16 = {
        "kinds/mp3-16.svg", "kinds/ogg-16.svg", "kinds/wma-16.svg", "kinds/wav-16.svg"};
    if (kind < media::KindMp3 || kind >= media::KindUnknown) {
        return {};
    }
    const auto at = static_cast<std::size_t>(kind);
    return FromResource(large ? large24[at] : small16[at]);
}

QIcon PlayerIcon(PlayerGlyph glyph) {
    switch (glyph) {
    case PlayerGlyph::Play:
        return FromResource("player/play.svg");
    case PlayerGlyph::Pause:
        return FromResource("player/pause.svg");
    case PlayerGlyph::Stop:
        return FromResource("player/stop.svg");
    }
    return {};
}

QIcon ComputerHeaderIcon() {
    return FromResource("headers/computer.svg");
}

QIcon PlayerHeaderIcon() {
    return FromResource("headers/player.svg");
}

QIcon SettingsHeaderIcon() {
    return FromResource("headers/settings.svg");
}

QIcon TreeIcon(TreeGlyph glyph) {
    switch (glyph) {
    case TreeGlyph::Computer:
        return FromResource("tree/computer.svg");
    case TreeGlyph::FixedDrive:
        return FromResource("tree/drive.svg");
    case TreeGlyph::RemovableDrive:
        return FromResource("tree/removable.svg");
    case TreeGlyph::Folder:
        return FromResource("tree/folder.svg");
    }
    return {};
}

QIcon ApplicationIcon() {
    return FromResource("tralvo.svg");
}

} // namespace tralvo
