#pragma once

#include <string>

namespace tralvo {

// The 8.3 form of an absolute path whose last component lies on a FAT volume of the
// kernel's vfat or msdos driver: every component on FAT replaced by its short name, the
// components above the volume kept. Empty when the path is not on such a volume or a
// component cannot be found.
std::string VfatShortPath(const std::string& absolutePath);

} // namespace tralvo
