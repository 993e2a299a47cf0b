#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tralvo::media::playlists {

// The entries of an XSPF playlist: the first <location> of each <track>, in document order, as
// paths (UriPath). Element names may carry a namespace prefix; entities, character references
// and CDATA sections are read, comments, processing instructions and a document type skipped.
// The text is UTF-8 unless its declaration names Latin-1. Throws PlaylistError for XML that is
// not well-formed (with the line where it breaks), binary text or nesting deeper than a
// playlist's.
std::vector<std::string> ReadXspf(std::string_view text);

} // namespace tralvo::media::playlists
