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
media::SoundKind SniffSoundKindOf(const std::string& path);

// ".mp3", ".ogg", ".wma", ".wav"; empty for KindUnknown.
std::string_view ExtensionOf(media::SoundKind kind);

// The title of the file at path read as a file of kind, through a link with the kind's
// extension in a private temporary folder outside the player; empty when there is none.
std::string TitleOfFileAs(const std::string& path, media::SoundKind kind);

// title made fit for a file name on a player's FAT volume: control characters and
// / \ : * ? " < > | become "_", and it is cut (at a character's start) so that, followed by
// an extension, it stays within 255 bytes.
std::string FileNameFromTitle(std::string_view title);

} // namespace tralvo
