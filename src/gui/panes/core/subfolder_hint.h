#pragma once

#include "platform/unique_fd.h"

#include <cstdint>
#include <string>

namespace tralvo {

// Tells cheaply, without listing it, whether a child folder may hold subfolders, so that a
// folder of thousands of subfolders shows its expand arrows without reading every child.
class SubfolderHint {
public:
    explicit SubfolderHint(const std::string& folder);

    // False only where the file system counts a folder's subfolders in its link count and the
    // count says there are none; a wrong true is put right when the folder is expanded.
    bool MayHaveSubfolders(const std::string& name) const;

private:
    UniqueFd folder_;
    std::uint64_t device_ = 0;
    bool countsSubfolderLinks_ = false;
};

} // namespace tralvo
