#pragma once

#include "media/sound_file.h"

#include <string>
#include <string_view>

namespace tralvo {

// The kind of an audio file by its first bytes, for a file whose name has lost its
// extension: an ID3v2 header or an MPEG frame sync (MP3), "OggS", the ASF header object's
// GUID (WMA), "RIFF" .... "WAVE".
media::SoundKind SniffSoundKind(std::string_view head);
// The same for the file at path; KindUnknown when it cannot be read.
media::SoundKind SniffSoundKindOf(const std::string& path, FileSystem& fs = SystemFileSystem());

// The title of the file at path read as a file of kind, through a link with the kind's
// extension in a private temporary folder outside the player, in UTF-8 (the encoding of file
// names here) read as the program shows it: a Vorbis comment that is UTF-8 as it stands, any
// other tag text as Latin-1. Empty when there is none.
std::string TitleOfFileAs(const std::string& path, media::SoundKind kind);

// title (UTF-8) made fit for the name of a file in the folder on a player's FAT volume: each
// byte that is no part of a well-formed UTF-8 character becomes U+FFFD, control characters and
// / \ : * ? " < > | become "_", blanks and dots at either end go, and it is cut (at a
// character's start) so that, followed by an extension, it stays within 255 bytes. Empty when
// nothing is left, as for "." and "..".
std::string FileNameFromTitle(std::string_view title);

} // namespace tralvo
