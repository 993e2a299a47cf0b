#pragma once

#include <string>
#include <vector>

namespace tralvo::playback {

// The shared libraries that each module needs, by soname. A soname carries the major version
// of its library's interface: FFmpeg names them after the major versions of the headers the
// engine was built with, and SDL 2 keeps one soname for its whole series.
std::vector<std::string> DecoderLibraries();
std::vector<std::string> OutputLibraries();

} // namespace tralvo::playback
