#pragma once

#include "platform/unique_fd.h"

#include <optional>
#include <string>
#include <vector>

namespace tralvo::tags {

// The tags of a file by its path, read only when the file begins as the container that carries
// them (its first block sniffed, as for playback): an Ogg Vorbis file with an ID3v2 tag put
// before its first page, for one, is an MPEG file here and has no Vorbis comments. Nothing
// when the file cannot be read, is another container, or its header is broken.

// As ReadVorbisComments.
std::optional<std::vector<std::string>> ReadFileVorbisComments(const std::string& path);
// The same for a file its caller opened for reading (as a file system of the caller's does).
std::optional<std::vector<std::string>> ReadFileVorbisComments(UniqueFd file);

// As ReadAsfAttributes.
std::optional<std::vector<std::string>> ReadFileAsfAttributes(const std::string& path);
std::optional<std::vector<std::string>> ReadFileAsfAttributes(UniqueFd file);

} // namespace tralvo::tags
