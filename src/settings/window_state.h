#pragma once

#include <cstdint>

namespace tralvo {

struct WindowSettings;

struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the stored geometry puts a window of the given current size on a screen: never
// smaller than now (so never below its minimum), never larger than the screen, centred when
// no position was stored (-1 or less), and pulled back so it ends at the screen's right and
// bottom edges.
WindowGeometry RestoredGeometry(const WindowSettings& stored, int currentWidth, int currentHeight,
                                int screenWidth, int screenHeight);

} // namespace tralvo
