#include "tags/file_tags.h"

#include "tags/asf_attributes.h"
#include "tags/byte_source.h"
#include "tags/container_kind.h"
#include "tags/vorbis_comments.h"

namespace tralvo::tags {
namespace {

using Texts = std::optional<std::vector<std::string>>;

Texts ReadFileAs(const std::string& path, ContainerKind kind, Texts (*read)(ByteSource&)) {
    const std::unique_ptr<FileSource> source = FileSource::Open(path);
    if (!source || SniffContainer(source->FirstBlock()) != kind) {
        return std::nullopt;
    }
    return read(*source);
}

} // namespace

Texts ReadFileVorbisComments(const std::string& path) {
    return ReadFileAs(path, ContainerKind::OggVorbis, ReadVorbisComments);
}

Texts ReadFileAsfAttributes(const std::string& path) {
    return ReadFileAs(path, ContainerKind::Asf, ReadAsfAttributes);
}

} // namespace tralvo::tags
