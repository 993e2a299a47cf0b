#pragma once

#include <QIcon>

namespace tralvo {

// The program's own pictures, drawn as SVG and compiled in, so they stay sharp on any
// screen scale; rendered at build time for the usual scales, so a start parses no SVG.

// The 16 tool-bar pictures, by their index in the tool bars: 0 refresh, 1 properties,
// 2 upload, 3 delete, 4 settings, 5 help, 6 about, 7 download, 8 up, 9 down, 10 sort,
// 11 reverse sort, 12 shuffle, 13 clean (a broom), 14 playlist, 15 export playlist.
constexpr int ToolbarIconCount = 16;
QIcon ToolbarIcon(int index);

// A media::SoundKind from KindMp3 to KindWav, drawn for 24 (large) or 16 pixels; none for
// another number.
QIcon FileKindIcon(int kind, bool large);

enum class PlayerGlyph { Play, Pause, Stop };
QIcon PlayerIcon(PlayerGlyph glyph);

QIcon ComputerHeaderIcon(); // 32 x 32, the computer pane's header
QIcon PlayerHeaderIcon();   // 32 x 32, the player pane's header
QIcon SettingsHeaderIcon(); // 24 x 24, the settings dialog's corner
// The folder trees' pictures at 16 pixels, for desktops whose icon theme has none.
enum class TreeGlyph { Computer, FixedDrive, RemovableDrive, Folder };
QIcon TreeIcon(TreeGlyph glyph);

QIcon ApplicationIcon(); // the program's own icon, also the about box's picture

} // namespace tralvo
