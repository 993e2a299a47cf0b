#include "platform/list_numbers.h"

namespace tralvo {

int ListDigits(std::size_t n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

std::string ZeroPad(std::size_t n, int width) {
    std::string text = std::to_string(n);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

} // namespace tralvo
