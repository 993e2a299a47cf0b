#include "media/sound_file.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unique_fd.h"

#include <array>

namespace tralvo::media {

namespace {

// By SoundKind, KindMp3 first.
constexpr std::array<std::string_view, KindUnknown> KindExtensions = {".mp3", ".ogg", ".wma",
                                                                      ".wav"};

} // namespace

SoundKind KindOfPath(std::string_view path) {
    const std::string extension = ToLowerAscii(Extension(path));
    for (std::uint8_t kind = KindMp3; kind < KindUnknown; ++kind) {
        if (extension == KindExtensions[kind]) {
            return static_cast<SoundKind>(kind);
        }
    }
    return KindUnknown;
}

std::string_view ExtensionOf(SoundKind kind) {
    return kind < KindUnknown ? KindExtensions[kind] : std::string_view();
}

SoundFile::SoundFile(std::string path, FileSystem& fs)
    : fs_(fs), fileName_(std::move(path)), kind_(KindOfPath(fileName_)) {}

const SoundFile& SoundFile::Tags() const {
    if (!tagsRead_) {
        tagsRead_ = true;
        try {
            ReadTags();
        } catch (...) {
            ClearTags();
        }
    }
    return *this;
}

const std::string& SoundFile::ShortFileName() const {
    if (!shortFileName_) {
        shortFileName_ = fs_.ShortPath(fileName_);
    }
    return *shortFileName_;
}

void SoundFile::ClearTags() const {
    hasTag_ = false;
    lengthInMilliseconds_ = -1;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    comment_.clear();
    trackNumber_ = 0;
}

void SoundFile::ReadTags() const {
    switch (kind_) {
    case KindMp3:
        if (!ReadId3v2()) {
            ReadId3v1();
        }
        break;
    case KindOggVorbis:
    case KindWma:
        ReadTextTags();
        break;
    case KindWav:
    case KindUnknown:
        ClearTags();
        break;
    }
}

DateTime CreationTimeOf(const std::string& path, FileSystem& fs) {
    UniqueFd fd;
    if (!fs.OpenForReading(path, fd)) {
        return 0.0;
    }
    FileTime time = 0;
    return fs.ReadCreationTime(path, time) ? FileTimeToDateTime(time) : -1.0;
}

DateTime SoundFile::GetCreationTime() {
    if (creationTime_ != -1.0) {
        return creationTime_;
    }
    const DateTime time = CreationTimeOf(fileName_, fs_);
    if (time != 0.0) {
        creationTime_ = time; // a file that cannot be opened is asked again next time
    }
    return time;
}

const std::string* SoundFile::TextOf(SortKey key) const {
    if (key >= SortKey::Title && key <= SortKey::Comment) {
        Tags();
    }
    switch (key) {
    case SortKey::FileName:
        return &fileName_;
    case SortKey::Title:
        return &title_;
    case SortKey::Artist:
        return &artist_;
    case SortKey::Album:
        return &album_;
    case SortKey::Year:
        return &year_;
    case SortKey::Comment:
        return &comment_;
    case SortKey::ShortFileName:
        return &ShortFileName();
    default:
        return nullptr;
    }
}

namespace {

// Text keys compare byte by byte as unsigned bytes after folding A to Z only.
int CompareFolded(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(ToLowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(ToLowerAscii(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool SoundFile::IsLess(SoundFile& other, SortKey key) {
    if (const std::string* text = TextOf(key)) {
        return CompareFolded(*text, *other.TextOf(key)) < 0;
    }
    if (key == SortKey::TrackNumber) {
        return TrackNumber() < other.TrackNumber();
    }
    if (key == SortKey::CreationTime) {
        return GetCreationTime() < other.GetCreationTime();
    }
    return false;
}

bool SoundFile::IsEqual(SoundFile& other, SortKey key) {
    if (const std::string* text = TextOf(key)) {
        return CompareFolded(*text, *other.TextOf(key)) == 0;
    }
    if (key == SortKey::TrackNumber) {
        return TrackNumber() == other.TrackNumber();
    }
    if (key == SortKey::CreationTime) {
        return GetCreationTime() == other.GetCreationTime();
    }
    return false;
}

} // namespace tralvo::media
