#pragma once

#include <string>
#include <vector>

namespace tralvo {

// Copies and deletes files the way the desktop does: it asks its own questions (replace?
// delete?), shows its own progress and may be cancelled. It reports nothing back: whoever
// asked for it looks at the disk afterwards to see what happened.
class ShellFileOperation {
public:
    virtual ~ShellFileOperation() = default;

    // Copies sources[i] to targets[i]; both lists have the same length.
    virtual void Copy(const std::vector<std::string>& sources,
                      const std::vector<std::string>& targets) = 0;
    virtual void Delete(const std::vector<std::string>& paths) = 0;
};

} // namespace tralvo
