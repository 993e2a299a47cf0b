#include "arrange/temporary_file_title.h"

#include "platform/unique_fd.h"
#include "platform/utf8.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tralvo {

namespace {

constexpr std::string_view AsfHeaderGuid("\x30\x26\xB2\x75\x8E\x66\xCF\x11"
                                         "\xA6\xD9\x00\xAA\x00\x62\xCE\x6C",
                                         16);

// Removes the private folder and its link however the reading ends.
class ProbeFolder {
public:
    ProbeFolder() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "tralvo-probe-XXXXXX").string();
        if (!error && ::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ProbeFolder() {
        if (!link_.empty()) {
            ::unlink(link_.c_str());
        }
        if (!path_.empty()) {
            ::rmdir(path_.c_str());
        }
    }
    ProbeFolder(const ProbeFolder&) = delete;
    ProbeFolder& operator=(const ProbeFolder&) = delete;

    // A link to target with the extension; empty when it cannot be made.
    std::string Link(const std::string& target, std::string_view extension) {
        if (path_.empty()) {
            return {};
        }
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(target, error);
        const std::string link = path_ + "/track" + std::string(extension);
        if (error || ::symlink(absolute.c_str(), link.c_str()) != 0) {
            return {};
        }
        link_ = link;
        return link_;
    }

private:
    std::string path_;
    std::string link_;
};

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// Control characters (C0, DEL and C1) and what FAT refuses in a name; '/' would also lead out
// of the folder.
bool UnfitForFileName(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 2 && lead == 0xC2) {
        return static_cast<unsigned char>(character[1]) < 0xA0;
    }
    return character.size() == 1 &&
           (lead < 0x20 || lead == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(character[0]) != std::string_view::npos);
}

// Windows and the FAT drivers drop blanks and dots at the end of a name, and a name of dots
// alone stands for the folder or its parent; one beginning with a dot would be hidden here.
std::string TrimBlanksAndDots(std::string_view name) {
    const std::size_t first = name.find_first_not_of(" .");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(name.substr(first, name.find_last_not_of(" .") - first + 1));
}

bool IsMpegFrameSync(std::string_view head) {
    return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
           (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0;
}

} // namespace

media::SoundKind SniffSoundKind(std::string_view head) {
    if (head.starts_with("ID3") || IsMpegFrameSync(head)) {
        return media::KindMp3;
    }
    if (head.starts_with("OggS")) {
        return media::KindOggVorbis;
    }
    if (head.starts_with(AsfHeaderGuid)) {
        return media::KindWma;
    }
    if (head.size() >= 12 && head.starts_with("RIFF") && head.substr(8, 4) == "WAVE") {
        return media::KindWav;
    }
    return media::KindUnknown;
}

media::SoundKind SniffSoundKindOf(const std::string& path, FileSystem& fs) {
    UniqueFd fd;
    if (!fs.OpenForReading(path, fd)) {
        return media::KindUnknown;
    }
    std::array<char, 16> head{};
    std::size_t filled = 0;
    while (filled < head.size()) {
        const ssize_t count = ::read(fd.get(), head.data() + filled, head.size() - filled);
        if (count <= 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    return SniffSoundKind(std::string_view(head.data(), filled));
}

std::string TitleOfFileAs(const std::string& path, media::SoundKind kind) {
    const std::string_view extension = media::ExtensionOf(kind);
    if (extension.empty()) {
        return {};
    }
    ProbeFolder probe;
    const std::string link = probe.Link(path, extension);
    if (link.empty()) {
        return {};
    }
    // As the program shows tag text: Vorbis comments are UTF-8 when their bytes are, every
    // other tag (and a broken comment) one Latin-1 byte per character.
    const std::string title = media::SoundFile(link).Title();
    return kind == media::KindOggVorbis && IsUtf8(title) ? title : Latin1ToUtf8(title);
}

std::string FileNameFromTitle(std::string_view title) {
    // Room for the longest extension within FAT's 255 characters, counted as bytes.
    constexpr std::size_t MaxLength = 250;
    std::string name;
    name.reserve(title.size());
    while (!title.empty()) {
        const std::size_t length = Utf8SequenceLength(title);
        if (length == 0) {
            name += ReplacementCharacter;
            title.remove_prefix(1);
            continue;
        }
        const std::string_view character = title.substr(0, length);
        name += UnfitForFileName(character) ? std::string_view("_") : character;
        title.remove_prefix(length);
    }
    name = TrimBlanksAndDots(name);
    if (name.size() > MaxLength) {
        std::size_t cut = MaxLength;
        // Not inside a UTF-8 sequence: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
        name = TrimBlanksAndDots(name);
    }
    return name;
}

} // namespace tralvo
