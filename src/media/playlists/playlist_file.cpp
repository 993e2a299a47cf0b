#include "media/playlists/playlist_file.h"

#include "media/playlists/m3u_reader.h"
#include "media/playlists/playlist_text.h"
#include "media/playlists/pls_reader.h"
#include "media/playlists/xspf_reader.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::media::playlists {

PlaylistKind KindOfPlaylist(std::string_view path, std::string_view text) {
    const std::string extension = ToLowerAscii(Extension(path));
    if (extension == ".m3u") {
        return PlaylistKind::M3u;
    }
    if (extension == ".m3u8") {
        return PlaylistKind::M3u8;
    }
    if (extension == ".pls") {
        return PlaylistKind::Pls;
    }
    if (extension == ".xspf") {
        return PlaylistKind::Xspf;
    }
    const std::string_view start = TrimBlanksAndControls(WithoutByteOrderMark(text));
    if (StartsWithIgnoringCase(start, "[playlist]")) {
        return PlaylistKind::Pls;
    }
    return start.starts_with('<') ? PlaylistKind::Xspf : PlaylistKind::M3u;
}

PlaylistRead ReadPlaylistText(std::string_view path, std::string_view text) {
    PlaylistRead read;
    if (TrimBlanksAndControls(WithoutByteOrderMark(text)).empty()) {
        read.fault = PlaylistRead::Fault::NoTracks;
        read.problem = "the playlist is empty";
        return read;
    }
    try {
        switch (KindOfPlaylist(path, text)) {
        case PlaylistKind::M3u:
            read.paths = ReadM3u(text, false);
            break;
        case PlaylistKind::M3u8:
            read.paths = ReadM3u(text, true);
            break;
        case PlaylistKind::Pls:
            read.paths = ReadPls(text);
            break;
        case PlaylistKind::Xspf:
            read.paths = ReadXspf(text);
            break;
        }
    } catch (const PlaylistError& error) {
        read.fault = PlaylistRead::Fault::Malformed;
        read.problem = error.what();
        return read;
    }
    // "file://" alone names nothing.
    std::erase(read.paths, std::string());
    if (read.paths.empty()) {
        read.fault = PlaylistRead::Fault::NoTracks;
        read.problem = "the playlist names no track";
    }
    return read;
}

PlaylistRead ReadPlaylist(const std::string& path, FileSystem& fs) {
    PlaylistRead read;
    read.fault = PlaylistRead::Fault::Unreadable; // until the text is in hand
    UniqueFd fd;
    if (const Status status = fs.OpenForReading(path, fd); !status) {
        read.problem = "cannot read the playlist: " + status.message();
        return read;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        read.problem = std::string("cannot read the playlist: ") + std::strerror(errno);
        return read;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > MaxPlaylistSize) {
        read.problem = "the playlist is larger than 16 MiB";
        return read;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    std::size_t filled = 0;
    // A file that grew since its size was read is cut at that size: still bounded.
    while (filled < text.size()) {
        const ssize_t count = ::read(fd.get(), text.data() + filled, text.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            read.problem = std::string("cannot read the playlist: ") + std::strerror(errno);
            return read;
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    text.resize(filled);
    return ReadPlaylistText(path, text);
}

} // namespace tralvo::media::playlists
