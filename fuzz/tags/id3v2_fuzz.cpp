// Loads any bytes as a tag file, then reads every frame through both getters and decodes it
// with every encoding. Besides crashes, leaks and hangs, it stops on results the reader does
// not define and on decodings that claim more bytes than the frame holds.
#include "tags/id3v2/id3v2_tag.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace tralvo::tags;

// One file in memory for the whole run, opened by the reader through its /proc path as any
// other file.
class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("id3v2_fuzz", MFD_CLOEXEC)) {
        if (fd_ < 0) {
            std::abort();
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& Hold(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(fd_, 0) != 0) {
            std::abort();
        }
        for (std::size_t done = 0; done < size;) {
            const ssize_t wrote = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (wrote <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(wrote);
        }
        return path_;
    }

private:
    int fd_;
    std::string path_;
};

bool IsReadResult(std::uint8_t result) {
    switch (result) {
    case id3v2_read::Ok:
    case id3v2_read::NotFound:
    case id3v2_read::Empty:
    case id3v2_read::NotATextId:
    case id3v2_read::BeyondLatin1:
    case id3v2_read::UnknownEncoding:
    case id3v2_read::BadText:
    case id3v2_read::Encrypted:
        return true;
    default:
        return false;
    }
}

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void DecodeEveryWay(const FrameRecord& frame) {
    for (std::uint8_t encoding = 0; encoding <= 4; ++encoding) {
        for (const std::size_t start : {std::size_t{0}, std::size_t{1}, std::size_t{4}}) {
            for (const bool multiLine : {false, true}) {
                std::size_t length = 0;
                std::string text;
                const std::uint8_t result =
                    DecodeFrameText(frame, start, multiLine, encoding, length, text);
                Check(IsReadResult(result));
                Check(result != id3v2_read::BadText || text.empty());
                Check(start >= frame.data.size() || length <= frame.data.size() - start);
                Check(text.size() <= frame.data.size());
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    Id3v2Tag tag;
    (void)tag.LoadFromFile(file.Hold(data, size), 0);

    std::string text;
    for (std::size_t i = 1; i <= tag.Frames().Count(); ++i) {
        const std::string id = tag.Frames()[i].id;
        Check(id.size() == 4);
        Check(IsReadResult(tag.GetTextFrame(id, text)));
    }
    TagComment comment;
    Check(IsReadResult(tag.GetComment(comment, "", "None")));
    for (std::size_t i = 1; i <= tag.Frames().Count(); ++i) {
        DecodeEveryWay(tag.Frames()[i]);
    }
    return 0;
}
