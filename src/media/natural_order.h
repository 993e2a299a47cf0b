#pragma once

#include <string_view>

namespace tralvo::media {

// The natural order of two texts, bytes as the sort keys hold them: a run of the digits 0 to 9
// compares by its value with a run at the same place in the other text, so "track 2" comes
// before "track 10" however many digits the runs have; every other byte compares as an
// unsigned byte, as the plain order does. Leading zeros do not count towards a value; of two
// texts that differ only in them, the one whose first such run has fewer zeros comes first.
// Below zero when a comes first, zero only for equal texts, above zero otherwise.
int CompareNatural(std::string_view a, std::string_view b);

} // namespace tralvo::media
