#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tralvo::tags {

// The little-endian number in bytes (at most 8 of them).
constexpr std::uint64_t LittleEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        value = (value << 8) | bytes[i - 1];
    }
    return value;
}

// Reads little-endian numbers and runs of bytes from a span. A read that would pass the end
// fails and leaves the cursor where it was, so a size field is always checked against what is
// left before anything is taken on its word.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - position_; }
    std::span<const std::uint8_t> Rest() const { return bytes_.subspan(position_); }

    std::optional<std::span<const std::uint8_t>> Bytes(std::uint64_t count) {
        if (count > Remaining()) {
            return std::nullopt;
        }
        const auto taken = bytes_.subspan(position_, static_cast<std::size_t>(count));
        position_ += taken.size();
        return taken;
    }

    std::optional<std::uint16_t> U16() { return Number<std::uint16_t>(); }
    std::optional<std::uint32_t> U32() { return Number<std::uint32_t>(); }
    std::optional<std::uint64_t> U64() { return Number<std::uint64_t>(); }

private:
    template <typename T>
    std::optional<T> Number() {
        const auto bytes = Bytes(sizeof(T));
        if (!bytes) {
            return std::nullopt;
        }
        return static_cast<T>(LittleEndian(*bytes));
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace tralvo::tags
