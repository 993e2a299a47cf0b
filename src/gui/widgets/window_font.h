#pragma once

#include <QFont>

namespace tralvo {

// The font of every window: Tahoma at 8 points where it is installed, else the desktop's
// own sans font at 8 points.
QFont WindowFont();

} // namespace tralvo
