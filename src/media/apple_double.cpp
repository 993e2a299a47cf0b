#include "media/apple_double.h"

#include "platform/paths.h"
#include "platform/unique_fd.h"

#include <array>
#include <cerrno>
#include <unistd.h>

namespace tralvo::media {

namespace {

constexpr std::array<unsigned char, 4> AppleDoubleMagic = {0x00, 0x05, 0x16, 0x07};

bool StartsWithMagic(int fd) {
    std::array<unsigned char, AppleDoubleMagic.size()> head{};
    std::size_t filled = 0;
    while (filled < head.size()) {
        const ssize_t count = ::read(fd, head.data() + filled, head.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        filled += static_cast<std::size_t>(count);
    }
    return head == AppleDoubleMagic;
}

} // namespace

bool HasAppleDoubleName(std::string_view name) {
    return name.starts_with("._");
}

bool IsAppleDoubleCompanion(const std::string& path, FileSystem& fs) {
    if (!HasAppleDoubleName(BaseName(path))) {
        return false;
    }
    UniqueFd fd;
    return fs.OpenForReading(path, fd) && StartsWithMagic(fd.get());
}

} // namespace tralvo::media
