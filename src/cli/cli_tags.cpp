#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "media/sound_file.h"
#include "tags/id3v2/id3v2_tag.h"

#include <cstdio>

namespace tralvo::cli {

namespace {

std::string HexResult(std::uint16_t result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(result));
    return text;
}

} // namespace

// One line per file: kind, has-tag, title, artist, album, year, comment, track, path.
int RunTagsCommand(Arguments args) {
    if (args.empty()) {
        return UsageError("tags needs at least one file");
    }
    for (const std::string& path : args) {
        media::SoundFile file(path);
        PrintFields({std::to_string(file.Kind()), file.HasTag() ? "1" : "0", file.Title(),
                     file.Artist(), file.Album(), file.Year(), file.Comment(),
                     std::to_string(file.TrackNumber()), path});
    }
    return ExitOk;
}

// The load result, then one line per frame id asked for: id, read result, text.
int RunId3v2Command(Arguments args) {
    if (args.empty()) {
        return UsageError("id3v2 needs a file");
    }
    tags::Id3v2Tag tag;
    const std::uint16_t result = tag.LoadFromFile(args.front(), 0);
    std::printf("result %s\n", HexResult(result).c_str());
    for (const std::string& id : args.subspan(1)) {
        std::uint8_t read = 0;
        std::string text;
        if (id == "COMM") {
            tags::TagComment comment;
            read = tag.GetComment(comment, "", "None");
            text = comment.text;
        } else {
            read = tag.GetTextFrame(id, text);
        }
        PrintFields({id, std::to_string(read), text});
    }
    return ExitOk;
}

} // namespace tralvo::cli
