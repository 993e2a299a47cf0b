#pragma once

#include <cstddef>
#include <cstdint>

namespace tralvo {

// A picture rendered at build time: premultiplied ARGB, one 32-bit word per pixel.
struct PrerenderedPicture {
    const char* name; // as under data/icons, "toolbar/refresh.svg"
    int width;
    int height;
    const std::uint32_t* pixels;
};

// Every picture at its own size and at twice that size.
extern const PrerenderedPicture PrerenderedPictures[];
extern const std::size_t PrerenderedPictureCount;

} // namespace tralvo
