#pragma once

#include <cstdint>
#include <vector>

namespace tralvo::tags::id3v2 {

struct UnsynchronisationProgress {
    std::uint64_t written; // end of the output, which starts where the input did
    std::uint64_t read;    // end of the input bytes dealt with
};

// Undoes unsynchronisation in place over the positions [from, to) of a sequence reached
// through at(position) -> std::uint8_t&: a 0x00 right after 0xFF is removed when the byte after
// it is 0x00 or 0xE0 and above, or when it is the last byte of the data; every other byte stays.
// When complete is false more bytes will follow, so the work stops before a 0xFF whose fate
// depends on the two bytes after it that are not there yet; the caller keeps those (at most
// two) bytes and hands them in again, in front of the bytes that follow.
template <typename ByteAt>
UnsynchronisationProgress UndoUnsynchronisation(ByteAt&& at, std::uint64_t from, std::uint64_t to,
                                                bool complete) {
    std::uint64_t read = from;
    std::uint64_t written = from;
    while (read < to) {
        const std::uint8_t byte = at(read);
        if (byte != 0xFF) {
            at(written++) = byte;
            ++read;
            continue;
        }
        const bool haveNext = read + 1 < to;
        const bool haveAfterNext = read + 2 < to;
        if (!complete && !haveAfterNext) {
            break;
        }
        at(written++) = byte;
        const bool stuffed = haveNext && at(read + 1) == 0x00 &&
                             (!haveAfterNext || at(read + 2) == 0x00 || at(read + 2) >= 0xE0);
        read += stuffed ? 2 : 1;
    }
    return {written, read};
}

// Undoes unsynchronisation of a whole frame's data.
void UndoUnsynchronisation(std::vector<std::uint8_t>& bytes);

} // namespace tralvo::tags::id3v2
