#include "tags/id3v2/frame_inflate.h"

#include <algorithm>
#include <new>
#include <zlib.h>

namespace tralvo::tags::id3v2 {

namespace {

// Owns an inflate stream.
class Inflater {
public:
    explicit Inflater(std::span<const std::uint8_t> input) {
        stream_.next_in = const_cast<Bytef*>(input.data()); // zlib never writes its input
        stream_.avail_in = static_cast<uInt>(input.size());
        const int status = inflateInit(&stream_);
        if (status == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        ready_ = status == Z_OK;
    }
    ~Inflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool Ready() const { return ready_; }
    z_stream& Stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

std::size_t RoundUpTo256(std::size_t size) {
    return std::max<std::size_t>(256, (size + 255) / 256 * 256);
}

} // namespace

std::optional<std::vector<std::uint8_t>> InflateFrameData(std::span<const std::uint8_t> compressed,
                                                          std::size_t limit) {
    Inflater inflater(compressed);
    if (!inflater.Ready()) {
        return std::nullopt;
    }
    z_stream& stream = inflater.Stream();
    // One byte of room past the limit tells a stream that ends at the limit from one that
    // goes on. The buffer doubles as it fills, so a large frame costs few copies.
    const std::size_t room = limit + 1;
    std::vector<std::uint8_t> out(std::min(RoundUpTo256(compressed.size()), room));
    for (;;) {
        stream.next_out = out.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            break;
        }
        if (status == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        if ((status != Z_OK && status != Z_BUF_ERROR) || stream.avail_out != 0 ||
            out.size() == room) {
            return std::nullopt; // an error, a stream cut short, or more than the limit
        }
        const std::size_t grown = std::min(out.size() * 2, room);
        out.reserve(grown); // exactly: resize alone may take twice the room
        out.resize(grown);
    }
    if (stream.total_out > limit) {
        return std::nullopt;
    }
    out.resize(stream.total_out);
    return out;
}

} // namespace tralvo::tags::id3v2
