#pragma once

#include "tags/byte_source.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tralvo::tags::id3v2 {

// A read that could not be completed, carrying the load result it stands for: ReadFailed when
// the file ended early, IoFailure when the system reported an error.
struct FileFailure {
    std::uint16_t result;
};

// A regular file opened for reading only, of the size it had when opened.
class TagFile {
public:
    TagFile(UniqueFd fd, std::uint64_t size) : source_(std::move(fd)), size_(size) {}

    std::uint64_t Size() const { return size_; }

    // Fills first and then second from offset on; throws FileFailure when it cannot.
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> first,
                std::span<std::uint8_t> second = {});

private:
    FileSource source_;
    std::uint64_t size_;
};

struct OpenedTagFile {
    std::optional<TagFile> file;  // empty: the file does not exist or cannot be opened
    std::optional<bool> readOnly; // empty when the file does not exist
};

// Opens fileName if it is an existing regular file. Read-only stands for the read-only, hidden
// and system attributes: the file is not writable by our effective user, or its name starts
// with '.'.
OpenedTagFile OpenTagFile(const std::string& fileName);

} // namespace tralvo::tags::id3v2
