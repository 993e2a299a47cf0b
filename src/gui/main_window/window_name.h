#pragma once

namespace tralvo {

// The main window's object name, under which its boxes and its catalogue texts are found,
// and its title, which its questions bear as their caption.
inline constexpr const char* MainWindowName = "MainForm";
inline constexpr const char* ApplicationTitle = "Tralvo!";

} // namespace tralvo
