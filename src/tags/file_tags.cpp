#include "tags/file_tags.h"

#include "tags/asf_attributes.h"
#include "tags/byte_source.h"
#include "tags/container_kind.h"
#include "tags/vorbis_comments.h"

namespace tralvo::tags {
namespace {

using Texts = std::optional<std::vector<std::string>>;

Texts ReadAs(const std::unique_ptr<FileSource>& source, ContainerKind kind,
             Texts (*read)(ByteSource&)) {
    if (!source || SniffContainer(source->FirstBlock()) != kind) {
        return std::nullopt;
    }
    return read(*source);
}

} // namespace

Texts ReadFileVorbisComments(const std::string& path) {
    return ReadAs(FileSource::Open(path), ContainerKind::OggVorbis, ReadVorbisComments);
}

Texts ReadFileVorbisComments(UniqueFd file) {
    return ReadAs(FileSource::Open(std::move(file)), ContainerKind::OggVorbis, ReadVorbisComments);
}

Texts ReadFileAsfAttributes(const std::string& path) {
    return ReadAs(FileSource::Open(path), ContainerKind::Asf, ReadAsfAttributes);
}

Texts ReadFileAsfAttributes(UniqueFd file) {
    return ReadAs(FileSource::Open(std::move(file)), ContainerKind::Asf, ReadAsfAttributes);
}

} // namespace tralvo::tags
