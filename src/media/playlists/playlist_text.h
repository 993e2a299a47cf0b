#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tralvo::media::playlists {

// What the readers share: how a playlist's text is cut into lines, checked and turned into
// paths. Readers throw PlaylistError; ReadPlaylist catches it and gives its text.

class PlaylistError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No path of a file system is near this long; a longer line is not a playlist's.
inline constexpr std::size_t MaxLineLength = 64 * 1024;

// text without a UTF-8 byte order mark at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

// Throws for text that is no playlist text at all: UTF-16 (which needs its own decoding, and
// whose zero bytes would cut names) and other text holding a NUL byte.
void RefuseBinary(std::string_view text);

// Calls take with each line of text, split at LF, CR LF or a lone CR, blanks and control
// characters at both ends removed, empty ones too. Throws for a line longer than MaxLineLength,
// counting lines as an editor does.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& take);

// The text in UTF-8: as it is when it is UTF-8 already, else each byte as Latin-1, as playlists
// written by older Windows programs are.
std::string Utf8OrLatin1(std::string_view text);

// "%XX" sequences as the bytes they stand for; a '%' that starts none stays, as does "%00".
std::string PercentDecoded(std::string_view text);

// A path as a playlist writes it made into one with '/' between its components: Windows
// programs write "C:\Music\a.mp3" or "..\b.mp3"; a "file:" URI ("file:///home/a%20b.mp3",
// "file://localhost/...", "file:///C:/...") becomes the path it names.
std::string EntryPath(std::string_view written);

// The path a URI reference names, as XSPF writes locations: a "file:" URI as EntryPath reads
// it, a relative reference ("../a%20b.mp3") percent-decoded; another scheme's URI as written.
std::string UriPath(std::string_view uri);

} // namespace tralvo::media::playlists
