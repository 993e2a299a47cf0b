#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tralvo::playback {

// Random access to the bytes of a file or of memory, for the header parsers.
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

// A file opened for reading; its first block is read at once and kept, since every header
// parser starts there.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t FirstBlockSize = 4096;

    // Nothing when the file cannot be opened or is not a regular file.
    static std::unique_ptr<FileSource> Open(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::span<const std::uint8_t> FirstBlock() const { return firstBlock_; }

private:
    explicit FileSource(int fd) : fd_(fd) {}

    int fd_ = -1;
    std::vector<std::uint8_t> firstBlock_;
};

} // namespace tralvo::playback
