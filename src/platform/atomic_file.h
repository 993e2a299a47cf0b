#pragma once

#include "platform/status.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tralvo {

// The system calls of writing a file whole or not at all, as a seam: tests make one of them
// fail halfway.
class AtomicWriteSteps {
public:
    virtual ~AtomicWriteSteps() = default;
    virtual ssize_t Write(int fd, const char* data, std::size_t size);
    virtual int Sync(int fd);
    // The one rename of the program that replaces its target.
    virtual int RenameReplacing(const char* from, const char* to);
};

AtomicWriteSteps& SystemAtomicWriteSteps();

// Writes text to a temporary file beside path, flushes it to the disk, then renames it over
// path: a write cut off at any point (a full disk, a player unplugged) leaves the old file
// whole, and no temporary file stays behind. The file keeps the permissions of the one it
// replaces. The failure names path.
Status WriteFileAtomically(const std::string& path, std::string_view text,
                           AtomicWriteSteps& steps = SystemAtomicWriteSteps());

} // namespace tralvo
