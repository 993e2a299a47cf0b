// The small text parsers of user input: the command-line tool's escaped fields (order files),
// udev's escaped volume labels, the mount table, and the order prefix of a file name.
#include "app/cli/cli_output.h"
#include "arrange/track_loading.h"
#include "platform/mount_table.h"
#include "platform/volume_labels.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // What list prints, arrange reads back unchanged.
    const std::optional<std::string> back =
        tralvo::cli::UnescapeField(tralvo::cli::EscapeField(text));
    if (!back || *back != text) {
        std::abort();
    }
    (void)tralvo::cli::UnescapeField(text);
    (void)tralvo::DecodeUdevLabel(text);
    (void)tralvo::ParseMountInfo(text);
    if (tralvo::OrderPrefixLength(text) > text.size()) {
        std::abort();
    }
    return 0;
}
