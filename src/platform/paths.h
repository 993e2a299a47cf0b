#pragma once

#include <string>
#include <string_view>

namespace tralvo {

// Paths are bytes with '/' between their components, as the file system gives them.

// The folder with a '/' at its end, so that a name can be appended; an empty folder becomes
// "/". A folder that already ends in '/' is returned as it is.
std::string FolderWithSlash(std::string folder);

// The path without the '/' at its end, however many there are; "/" stays "/".
std::string WithoutTrailingSlashes(std::string path);

// What follows the last '/': the name of a file or folder. The whole path when it has no '/',
// empty when it ends in '/'.
std::string_view BaseName(std::string_view path);

// The folder part of a path, without the '/' that ends it: "/" for a name in the root, "."
// for a path without '/'.
std::string ParentFolder(std::string_view path);

// The base name's last '.' and what follows it, as written ("a/Song.MP3" gives ".MP3"); empty
// without a '.'. A name that is all extension, such as ".mp3", is its own extension, as
// players see it.
std::string_view Extension(std::string_view path);

// The folder that relative names from folder, resolving "." and ".." by name only (folder is
// taken as resolved already, as the program's own path is), with a '/' at its end. An
// absolute relative is returned as it is; ".." never climbs above "/".
std::string FolderRelativeTo(std::string_view folder, std::string_view relative);

// Whether folder is path or one of its ancestors, comparing whole components: "/mnt/a" holds
// "/mnt/a/b" but not "/mnt/ab". Both absolute; folder without a trailing '/' unless "/".
bool FolderHoldsPath(std::string_view folder, std::string_view path);

} // namespace tralvo
