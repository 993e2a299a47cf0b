// The small text parsers of user input: the command-line tool's escaped fields (order files),
// udev's escaped volume labels, the mount table, the order prefix of a file name, and the run
// journal, which a cut-off write or a stranger may have garbled.
#include "arrange/run_journal.h"
#include "arrange/track_loading.h"
#include "cli/cli_output.h"
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
    // A journal that reads is one that writes back to the same text.
    if (const std::optional<tralvo::RunJournal> journal = tralvo::ParseJournal(text)) {
        const std::string again = tralvo::FormatJournal(*journal);
        const std::optional<tralvo::RunJournal> reread = tralvo::ParseJournal(again);
        if (!reread || tralvo::FormatJournal(*reread) != again) {
            std::abort();
        }
    }
    return 0;
}
