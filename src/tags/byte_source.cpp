#include "tags/byte_source.h"

#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tralvo::tags {

std::size_t MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset >= data_.size() || out.empty()) {
        return 0; // an empty span may have no storage at all, which memcpy must not see
    }
    const std::size_t count = std::min(out.size(), data_.size() - static_cast<std::size_t>(offset));
    std::memcpy(out.data(), data_.data() + offset, count);
    return count;
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
    return Open(OpenRegularFile(path, O_RDONLY));
}

std::unique_ptr<FileSource> FileSource::Open(UniqueFd file) {
    if (!file.valid()) {
        return nullptr;
    }
    auto source = std::make_unique<FileSource>(std::move(file));
    std::vector<std::uint8_t> block(FirstBlockSize);
    block.resize(source->ReadAt(0, block));
    if (source->readFailed_) {
        return nullptr;
    }
    source->firstBlock_ = std::move(block);
    return source;
}

std::size_t FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    if (out.empty()) {
        return 0;
    }
    if (offset < firstBlock_.size()) {
        done = std::min(out.size(), firstBlock_.size() - static_cast<std::size_t>(offset));
        std::memcpy(out.data(), firstBlock_.data() + offset, done);
        if (firstBlock_.size() < FirstBlockSize) {
            return done; // the whole file was in the first block
        }
    }
    while (done < out.size()) {
        const ssize_t n = ::pread(fd_.get(), out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            readFailed_ = n < 0;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace tralvo::tags
