#pragma once

#include <string>

namespace tralvo::playback {

// Whether the dynamic linker would find a shared library of this soname, found without
// loading it: in the folders it searches (LD_LIBRARY_PATH, the program's run path, the
// system's library folders) or, as a file that still exists, in its cache of the folders
// that ld.so.conf names.
bool SharedLibraryResolves(const std::string& soname);

} // namespace tralvo::playback
