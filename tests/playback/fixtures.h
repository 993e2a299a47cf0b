#pragma once

#include <string>
#include <string_view>

namespace tralvo::test {

// A file of the audio fixtures that scripts/make-audio-fixtures makes at build time.
inline std::string Fixture(std::string_view name) {
    return std::string(TRALVO_FIXTURES_DIR) + "/" + std::string(name);
}

} // namespace tralvo::test
