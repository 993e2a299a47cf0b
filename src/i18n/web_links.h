#pragma once

#include <string>
#include <string_view>

namespace tralvo {

// The address of a page of the maker's web site: the site's root with the query
// "LinkID=" + linkId, which the site maps to the page (a language's compatibility list,
// the updates page, ...).
std::string MakerWebLink(std::string_view linkId);

} // namespace tralvo
