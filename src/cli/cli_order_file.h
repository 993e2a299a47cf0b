#pragma once

#include "arrange/track_list.h"

#include <string>
#include <vector>

namespace tralvo::cli {

// Reads the display strings of an order file ("-" for standard input): one per line, written
// as list prints them (escaped), so that list's second field reads back as it was. A CR before
// the LF is dropped and empty lines are skipped. False, with problem set, when the file cannot
// be read, is too large, or a line holds a backslash that starts no escape.
bool ReadOrderFile(const std::string& path, std::vector<std::string>& names, std::string& problem);

// Positions into tracks, in the order the names give (order[i] is the entry to stand at i).
// A name shown by several tracks takes them in list order, once per line. Each unknown,
// repeated and missing name is added to problems; the order is only whole without them.
std::vector<std::size_t> OrderOfNames(const TrackList& tracks,
                                      const std::vector<std::string>& names,
                                      std::vector<std::string>& problems);

} // namespace tralvo::cli
