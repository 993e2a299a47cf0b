#include "settings/window_state.h"

#include "settings/settings_store.h"

#include <algorithm>

namespace tralvo {

WindowGeometry RestoredGeometry(const WindowSettings& stored, int currentWidth, int currentHeight,
                                int screenWidth, int screenHeight) {
    WindowGeometry geometry;
    geometry.width = std::min(std::max(stored.WindowWidth, currentWidth), screenWidth);
    geometry.height = std::min(std::max(stored.WindowHeight, currentHeight), screenHeight);
    geometry.left = std::max(stored.WindowLeft, -1);
    if (geometry.left == -1) {
        geometry.left = (screenWidth - geometry.width) / 2;
    }
    geometry.top = std::max(stored.WindowTop, -1);
    if (geometry.top == -1) {
        geometry.top = (screenHeight - geometry.height) / 2;
    }
    geometry.left = std::min(geometry.left, screenWidth - geometry.width);
    geometry.top = std::min(geometry.top, screenHeight - geometry.height);
    return geometry;
}

} // namespace tralvo
