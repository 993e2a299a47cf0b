#pragma once

#include "arrange/order_probe.h"
#include "jobs/messages.h"
#include "platform/file_system.h"
#include "platform/status.h"

#include <functional>
#include <optional>
#include <string>

namespace tralvo::jobs {

// What the order probe does on the disk, one call each, so that a window can be driven with
// fakes. write runs on a worker thread while the window waits for it.
struct OrderProbeOperations {
    std::function<std::optional<ProbeSounds>(const std::string& languageCode)> findSounds;
    std::function<Status(const std::string& root, const ProbeSounds& sounds)> write;
    std::function<Status(const std::string& root)> remove;
};

// The probe on fs with the sounds shipped in the program's data folder.
OrderProbeOperations RealOrderProbeOperations(FileSystem& fs = SystemFileSystem());

// The folder the probe writes below root, as the boxes name it.
std::string OrderProbeFolder(const std::string& root);

// The box for a language without its probe sounds.
MessageRequest ProbeSoundsMissingMessage(const std::string& parent);
// The box for a write that failed: a folder of the probe's name that is not Tralvo's, a full
// player, or anything else, with the system's reason.
MessageRequest ProbeWriteFailedMessage(const Status& failed, const std::string& root,
                                       const std::string& parent);
// The box asking the user to delete the probe folder by hand, with the system's reason.
MessageRequest ProbeRemoveFailedMessage(const Status& failed, const std::string& root,
                                        const std::string& parent);

} // namespace tralvo::jobs
