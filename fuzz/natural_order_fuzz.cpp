// The natural order of sort-key texts, on three texts split at line ends: the sort relies on it
// being a strict weak order, so a broken rule shows as a list that sorts differently each time.
#include "media/natural_order.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

int Sign(int order) {
    return (order > 0) - (order < 0);
}

bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, 3> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t end = i + 1 < texts.size() ? rest.find('\n') : std::string_view::npos;
        texts[i] = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    using tralvo::media::CompareNatural;
    for (const std::string_view a : texts) {
        Check(CompareNatural(a, a) == 0); // irreflexive
        for (const std::string_view b : texts) {
            const int order = Sign(CompareNatural(a, b));
            Check(order == -Sign(CompareNatural(b, a))); // antisymmetric
            Check((order == 0) == (a == b));             // only equal texts tie
            if (!HasDigit(a) || !HasDigit(b)) {
                // Where no two digit runs meet, the plain byte order holds.
                Check(order == Sign(a.compare(b)));
            }
            for (const std::string_view c : texts) {
                if (order < 0 && CompareNatural(b, c) < 0) {
                    Check(CompareNatural(a, c) < 0); // transitive
                }
            }
        }
    }
    return 0;
}
