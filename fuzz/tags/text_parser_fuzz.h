#pragma once

#include "tags/byte_source.h"
#include "tags/container_kind.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo::tags {

// Runs the container sniffing and one text parser over any bytes, and stops the run on a text
// with a NUL in it (tag text ends at its first NUL) or one that fits() turns down.
template <typename Parse, typename Fits>
void FuzzTextParser(std::span<const std::uint8_t> bytes, Parse parse, Fits fits) {
    (void)SniffContainer(bytes);
    MemorySource source(bytes);
    const std::optional<std::vector<std::string>> texts = parse(source);
    for (const std::string& text : texts.value_or(std::vector<std::string>{})) {
        if (text.find('\0') != std::string::npos || !fits(std::string_view(text))) {
            std::abort();
        }
    }
}

} // namespace tralvo::tags
