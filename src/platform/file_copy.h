#pragma once

#include "platform/status.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>

namespace tralvo {

// Told the bytes copied so far after every chunk; answers false to cancel the copy.
using CopyProgress = std::function<bool(std::uint64_t copied)>;

// The error code of a copy that its progress cancelled.
constexpr int CopyCancelledCode = ECANCELED;

// Copies source to target in chunks. With replace, the bytes go to a temporary file beside
// target, which is renamed onto target only once complete: the existing target is replaced
// whole or stays as it was. Without replace an existing target is refused (EEXIST). The
// copy keeps the source's modification time. A copy that fails or is cancelled leaves no
// partial file behind.
Status CopyFileInChunks(const std::string& source, const std::string& target, bool replace,
                        const CopyProgress& progress);

// A copy that can stand in for source: never replaces target, keeps the source's permissions,
// FAT attributes and modification time, and is on the disk when the call returns. A copy that
// fails leaves no file behind.
Status CopyStandingFile(const std::string& source, const std::string& target);

// Whether both paths lead to one and the same file.
bool SameFile(const std::string& a, const std::string& b);

// The size of a file; 0 when it cannot be read.
std::uint64_t FileSize(const std::string& path);

} // namespace tralvo
