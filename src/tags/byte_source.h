#pragma once

#include "platform/unique_fd.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tralvo::tags {

// Random access to the bytes of a file or of memory: what every tag parser reads through.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to out.size() bytes from offset into out; fewer at the end of the data or on
    // a read error.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::span<const std::uint8_t> data_;
};

// A regular file opened for reading. Reads are positioned (pread), so nothing depends on a
// file offset.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t FirstBlockSize = 4096;

    // Opens path and reads its first block at once, keeping it, since the Ogg and ASF parsers
    // and the container sniffing all start there. Nothing when the file cannot be opened, is
    // not a regular file, or its first block cannot be read.
    static std::unique_ptr<FileSource> Open(const std::string& path);
    // The same for a file its caller opened for reading; nothing for an invalid descriptor.
    static std::unique_ptr<FileSource> Open(UniqueFd file);
    // A file its owner has opened already; nothing is read ahead.
    explicit FileSource(UniqueFd fd) : fd_(std::move(fd)) {}

    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::span<const std::uint8_t> FirstBlock() const { return firstBlock_; }
    // Whether a read came back short because the system reported an error, rather than at the
    // end of the file.
    bool ReadFailed() const { return readFailed_; }

private:
    UniqueFd fd_;
    std::vector<std::uint8_t> firstBlock_;
    bool readFailed_ = false;
};

} // namespace tralvo::tags
