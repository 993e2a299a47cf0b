#pragma once

#include <cstddef>
#include <string>

namespace tralvo {

// The number of decimal digits of n: 1 for 0 to 9, 2 for 10 to 99, and so on.
int ListDigits(std::size_t n);

// The decimal text of n with "0" put in front until it is at least width characters long.
std::string ZeroPad(std::size_t n, int width);

} // namespace tralvo
