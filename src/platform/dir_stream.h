#pragma once

#include <dirent.h>
#include <memory>

namespace tralvo {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
// A folder listing that closes itself.
using DirStream = std::unique_ptr<DIR, DirCloser>;

} // namespace tralvo
