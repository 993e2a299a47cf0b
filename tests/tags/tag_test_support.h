#pragma once

#include "support/run_process.h"
#include "support/temp_folder.h"
#include "tags/asf_attributes.h"
#include "tags/vorbis_comments.h"
#include "tags/writers/bytes.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tralvo::test {

using Strings = std::vector<std::string>;

inline std::optional<Strings> VorbisCommentsOf(const Bytes& file) {
    tags::MemorySource source(file);
    return tags::ReadVorbisComments(source);
}

inline std::optional<Strings> AsfAttributesOf(const Bytes& file) {
    tags::MemorySource source(file);
    return tags::ReadAsfAttributes(source);
}

inline std::string AsText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A short tone encoded by the ffmpeg command into a file named name (its extension picks the
// format: ".ogg" as Vorbis, ".wma" as WMA version 2), with extra options before the output.
inline Bytes EncodedTone(const std::string& name, const Strings& options = {}) {
    const TempFolder folder;
    Strings args = {
        "-nostdin", "-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=0.5"};
    const bool ogg = name.ends_with(".ogg");
    args.insert(args.end(), {"-c:a", ogg ? "libvorbis" : "wmav2"});
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(folder / name);
    const ProcessResult run = RunProcess("/usr/bin/ffmpeg", args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string content = ReadFile(folder / name);
    return Bytes(content.begin(), content.end());
}

// What the ffmpeg command makes of file: the tags ffprobe shows ("TAG:name=value" lines) and
// whether decoding the whole file gave no error.
struct FfmpegView {
    Strings tags;
    bool decodes = false;
};

inline FfmpegView ViewedByFfmpeg(const Bytes& file, const std::string& name) {
    const TempFolder folder;
    const std::string path = folder.WriteFile(name, AsText(file));
    FfmpegView view;
    const ProcessResult probe =
        RunProcess("/usr/bin/ffprobe", {"-v", "error", "-show_format", "-show_streams", path});
    for (std::size_t at = 0; (at = probe.out.find("TAG:", at)) != std::string::npos;) {
        const std::size_t end = probe.out.find('\n', at);
        view.tags.push_back(probe.out.substr(at + 4, end - at - 4));
        at = end;
    }
    const ProcessResult decode =
        RunProcess("/usr/bin/ffmpeg", {"-nostdin", "-v", "error", "-i", path, "-f", "null", "-"});
    view.decodes = probe.exitCode == 0 && decode.exitCode == 0 && decode.err.empty();
    return view;
}

} // namespace tralvo::test
