// Reading the tags of Ogg and WMA files with our parsers, by path, against opening the same
// files with avformat_open_input alone and against bare reads of their header bytes.
//
// usage: file_tags_bench FIXTURES_DIR [COPIES] [ROUNDS]
#include "tags/file_tags.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wconversion"
extern "C" {
#include <libavformat/avformat.h>
}
#pragma GCC diagnostic pop

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Corpus {
    std::vector<std::string> files;
    bool wma = false;
    std::size_t headerBytes = 0; // what a bare tag reader must read of each file
};

std::vector<std::uint8_t> ReadPrefix(const std::string& path, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = fd < 0 ? 0 : ::read(fd, bytes.data(), size);
    if (fd >= 0) {
        ::close(fd);
    }
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// Ogg: the first two pages hold the identification and comment headers. ASF: the header
// object's own size field.
std::size_t HeaderBytesOf(const std::string& path, bool wma) {
    const std::vector<std::uint8_t> bytes = ReadPrefix(path, 1 << 20);
    if (wma) {
        std::uint64_t size = 0;
        std::memcpy(&size, bytes.data() + 16, sizeof size);
        return static_cast<std::size_t>(size);
    }
    std::size_t offset = 0;
    for (int page = 0; page < 2 && offset + 27 <= bytes.size(); ++page) {
        const std::size_t segments = bytes[offset + 26];
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) {
            body += bytes[offset + 27 + i];
        }
        offset += 27 + segments + body;
    }
    return offset;
}

Corpus MakeCorpus(const fs::path& folder, const fs::path& source, int copies, bool wma) {
    fs::create_directories(folder);
    Corpus corpus;
    corpus.wma = wma;
    for (int i = 0; i < copies; ++i) {
        const fs::path file = folder / (std::to_string(i) + source.extension().string());
        fs::copy_file(source, file, fs::copy_options::overwrite_existing);
        corpus.files.push_back(file.string());
    }
    corpus.headerBytes = HeaderBytesOf(corpus.files.front(), wma);
    return corpus;
}

// Microseconds per file of one pass over the corpus.
double TimePass(const Corpus& corpus, const std::function<void(const std::string&)>& work) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& file : corpus.files) {
        work(file);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / static_cast<double>(corpus.files.size());
}

std::size_t sink = 0; // keeps the work from being optimised away

void Report(const char* name, const Corpus& corpus, int rounds) {
    const auto ours = [&](const std::string& file) {
        const auto tags = corpus.wma ? tralvo::tags::ReadFileAsfAttributes(file)
                                     : tralvo::tags::ReadFileVorbisComments(file);
        sink += tags ? tags->size() : 0;
    };
    const auto ffmpeg = [](const std::string& file) {
        AVFormatContext* context = nullptr;
        if (avformat_open_input(&context, file.c_str(), nullptr, nullptr) == 0) {
            sink += context->nb_streams;
            avformat_close_input(&context);
        }
    };
    const auto bareRead = [&](const std::string& file) {
        sink += ReadPrefix(file, corpus.headerBytes).size();
    };
    // The three take turns in every round, so a slow spell of the machine hits all of them;
    // the best round of each counts.
    double oursTime = 1e300;
    double ffmpegTime = 1e300;
    double bareTime = 1e300;
    for (int round = 0; round < rounds; ++round) {
        oursTime = std::min(oursTime, TimePass(corpus, ours));
        ffmpegTime = std::min(ffmpegTime, TimePass(corpus, ffmpeg));
        bareTime = std::min(bareTime, TimePass(corpus, bareRead));
    }
    std::printf("%-4s %4zu files, header %5zu bytes: ours %7.2f us, avformat_open_input %7.2f us, "
                "bare read %6.2f us | avformat/ours %5.1fx (goal >= 10), ours/bare %4.2fx "
                "(goal <= 2)\n",
                name, corpus.files.size(), corpus.headerBytes, oursTime, ffmpegTime, bareTime,
                ffmpegTime / oursTime, oursTime / bareTime);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: file_tags_bench FIXTURES_DIR [COPIES] [ROUNDS]\n");
        return 2;
    }
    const fs::path fixtures = argv[1];
    const int copies = argc > 2 ? std::atoi(argv[2]) : 200;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 25;
    av_log_set_level(AV_LOG_QUIET);

    const fs::path work =
        fs::temp_directory_path() / ("tralvo-bench-" + std::to_string(::getpid()));
    const Corpus ogg = MakeCorpus(work / "ogg", fixtures / "tone.ogg", copies, false);
    const Corpus wma = MakeCorpus(work / "wma", fixtures / "tone.wma", copies, true);
    Report("Ogg", ogg, rounds);
    Report("WMA", wma, rounds);
    fs::remove_all(work);
    return sink == 0 ? 1 : 0;
}
