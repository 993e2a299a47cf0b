#include "media/natural_order.h"

#include <cstddef>

namespace tralvo::media {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct DigitRun {
    std::string_view value; // without its leading zeros
    std::size_t zeros = 0;
};

// The run of digits that starts at position; position moves past it.
DigitRun TakeDigits(std::string_view text, std::size_t& position) {
    const std::size_t start = position;
    while (position < text.size() && text[position] == '0') {
        ++position;
    }
    const std::size_t valueStart = position;
    while (position < text.size() && IsDigit(text[position])) {
        ++position;
    }
    return {text.substr(valueStart, position - valueStart), valueStart - start};
}

int Sign(bool less) {
    return less ? -1 : 1;
}

} // namespace

int CompareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    int zerosOrder = 0; // of the first two runs that differ only in their leading zeros
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const DigitRun x = TakeDigits(a, i);
            const DigitRun y = TakeDigits(b, j);
            // Compared as digit strings, so a run of any length has its value, without overflow.
            if (x.value.size() != y.value.size()) {
                return Sign(x.value.size() < y.value.size());
            }
            if (const int order = x.value.compare(y.value); order != 0) {
                return Sign(order < 0);
            }
            if (zerosOrder == 0 && x.zeros != y.zeros) {
                zerosOrder = Sign(x.zeros < y.zeros);
            }
            continue;
        }
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[j]);
        if (x != y) {
            return Sign(x < y);
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return Sign(i == a.size()); // the text that ends first comes first
    }
    return zerosOrder;
}

} // namespace tralvo::media
