// Reading the six tag fields of a folder of MP3, Ogg and WMA files with SoundFile, against
// TagLib (without audio properties) and against a bare program that opens each file and
// reads exactly the bytes its tags occupy. Warm cache; the three take turns in every round.
//
// usage: sound_file_bench FIXTURES_DIR [MP3_FILES] [ROUNDS]
#include "media/sound_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

std::size_t sink = 0; // keeps the work from being optimised away

void AppendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

Bytes Frame(std::string_view id, std::string_view body) {
    Bytes frame(id);
    AppendBigEndian(frame, static_cast<std::uint32_t>(body.size()));
    frame.append(2, '\0');
    frame.append(body);
    return frame;
}

Bytes TextFrame(std::string_view id, std::string_view text) {
    return Frame(id, std::string(1, '\0') + std::string(text));
}

// An ID3v2.3 tag with the six fields, and a 30 KB cover picture when asked.
Bytes Id3v23Tag(int index, bool picture) {
    const std::string n = std::to_string(index);
    Bytes body = TextFrame("TIT2", "Title " + n) + TextFrame("TPE1", "Artist " + n) +
                 TextFrame("TALB", "Album " + n) + TextFrame("TYER", "2004") +
                 TextFrame("TRCK", std::to_string(index % 20 + 1)) +
                 Frame("COMM", std::string("\0eng\0A comment ", 15) + n);
    if (picture) {
        body += Frame("APIC", std::string("\0image/jpeg\0\x03\0", 14) + std::string(30000, 'p'));
    }
    body.append(256, '\0'); // padding, as taggers leave it
    Bytes tag("ID3\x03\x00\x00", 6);
    const auto size = static_cast<std::uint32_t>(body.size());
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag.push_back(static_cast<char>((size >> shift) & 0x7F));
    }
    return tag + body;
}

// Silent MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz: enough for a reader to accept.
Bytes MpegFrames(int count) {
    Bytes frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    Bytes frames;
    for (int i = 0; i < count; ++i) {
        frames += frame;
    }
    return frames;
}

struct Corpus {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::size_t> tagBytes; // what a bare reader must read of each file
};

void WriteFile(const fs::path& path, const Bytes& content) {
    std::ofstream(path, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

Corpus MakeMp3Corpus(const fs::path& folder, int count) {
    fs::create_directories(folder);
    Corpus corpus{"MP3", {}, {}};
    const Bytes audio = MpegFrames(40);
    for (int i = 0; i < count; ++i) {
        const Bytes tag = Id3v23Tag(i, i % 3 == 0);
        const fs::path file = folder / (std::to_string(i) + ".mp3");
        WriteFile(file, tag + audio);
        corpus.files.push_back(file.string());
        corpus.tagBytes.push_back(tag.size());
    }
    return corpus;
}

Corpus CopyCorpus(const char* name, const fs::path& folder, const fs::path& source, int count,
                  std::size_t tagBytes) {
    fs::create_directories(folder);
    Corpus corpus{name, {}, {}};
    for (int i = 0; i < count; ++i) {
        const fs::path file = folder / (std::to_string(i) + source.extension().string());
        fs::copy_file(source, file, fs::copy_options::overwrite_existing);
        corpus.files.push_back(file.string());
        corpus.tagBytes.push_back(tagBytes);
    }
    return corpus;
}

std::size_t ReadPrefix(const std::string& path, std::size_t size) {
    std::vector<char> bytes(size);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    const ssize_t got = ::read(fd, bytes.data(), size);
    ::close(fd);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// Where the tags of the Ogg and WMA fixtures end: the first two Ogg pages, the ASF header.
std::size_t HeaderBytesOf(const fs::path& path) {
    std::string bytes(1 << 20, '\0');
    std::ifstream(path, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (path.extension() == ".wma") {
        std::uint64_t size = 0;
        std::memcpy(&size, bytes.data() + 16, sizeof size);
        return static_cast<std::size_t>(size);
    }
    std::size_t offset = 0;
    for (int page = 0; page < 2; ++page) {
        const auto segments = static_cast<unsigned char>(bytes[offset + 26]);
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) {
            body += static_cast<unsigned char>(bytes[offset + 27 + i]);
        }
        offset += 27 + segments + body;
    }
    return offset;
}

double TimePass(const Corpus& corpus, const std::function<void(std::size_t)>& work) {
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < corpus.files.size(); ++i) {
        work(i);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / static_cast<double>(corpus.files.size());
}

void Report(const Corpus& corpus, int rounds) {
    const auto ours = [&](std::size_t i) {
        const tralvo::media::SoundFile file(corpus.files[i]);
        sink += file.Title().size() + file.Artist().size() + file.Album().size() +
                file.Year().size() + file.Comment().size() +
                static_cast<std::size_t>(file.TrackNumber());
    };
    const auto taglib = [&](std::size_t i) {
        const TagLib::FileRef file(corpus.files[i].c_str(), false);
        if (const TagLib::Tag* tag = file.tag()) {
            sink += tag->title().to8Bit().size() + tag->artist().to8Bit().size() +
                    tag->album().to8Bit().size() + tag->year() + tag->comment().to8Bit().size() +
                    tag->track();
        }
    };
    const auto bare = [&](std::size_t i) {
        sink += ReadPrefix(corpus.files[i], corpus.tagBytes[i]);
    };
    double best[3] = {1e300, 1e300, 1e300};
    for (int round = 0; round < rounds; ++round) {
        best[0] = std::min(best[0], TimePass(corpus, ours));
        best[1] = std::min(best[1], TimePass(corpus, taglib));
        best[2] = std::min(best[2], TimePass(corpus, bare));
    }
    std::printf("%-4s %5zu files: TSoundFile %7.2f us, TagLib %7.2f us, bare read %6.2f us | "
                "ours/TagLib %4.2f (goal <= 0.5), ours/bare %4.2f\n",
                corpus.name, corpus.files.size(), best[0], best[1], best[2], best[0] / best[1],
                best[0] / best[2]);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sound_file_bench FIXTURES_DIR [MP3_FILES] [ROUNDS]\n");
        return 2;
    }
    const fs::path fixtures = argv[1];
    const int mp3Files = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
    const fs::path work =
        fs::temp_directory_path() / ("tralvo-bench-" + std::to_string(::getpid()));

    const std::vector<Corpus> corpora = {
        MakeMp3Corpus(work / "mp3", mp3Files),
        CopyCorpus("Ogg", work / "ogg", fixtures / "tone.ogg", 200,
                   HeaderBytesOf(fixtures / "tone.ogg")),
        CopyCorpus("WMA", work / "wma", fixtures / "tone.wma", 200,
                   HeaderBytesOf(fixtures / "tone.wma")),
    };
    for (const Corpus& corpus : corpora) {
        Report(corpus, rounds);
    }
    fs::remove_all(work);
    return sink == 0 ? 1 : 0;
}
