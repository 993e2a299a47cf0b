#include "jobs/order_probe_job.h"

#include "platform/paths.h"
#include "platform/program_folder.h"

#include <cerrno>
#include <system_error>

namespace tralvo::jobs {

namespace {

// The system's words for what failed, without the paths of the message that the box names
// itself.
std::string ReasonOf(const Status& failed) {
    return failed.code() > 0 ? std::generic_category().message(failed.code()) : failed.message();
}

} // namespace

OrderProbeOperations RealOrderProbeOperations(FileSystem& fs) {
    return {
        [&fs](const std::string& languageCode) {
            return FindProbeSounds(DataFolder(), languageCode, fs);
        },
        [&fs](const std::string& root, const ProbeSounds& sounds) {
            return WriteOrderProbe(root, sounds, fs);
        },
        [&fs](const std::string& root) { return RemoveOrderProbe(root, fs); },
    };
}

std::string OrderProbeFolder(const std::string& root) {
    return FolderWithSlash(root) + OrderProbeFolderName;
}

MessageRequest ProbeSoundsMissingMessage(const std::string& parent) {
    return ErrorMessage(parent, "ProbeSoundsMissing", DataFolder());
}

MessageRequest ProbeWriteFailedMessage(const Status& failed, const std::string& root,
                                       const std::string& parent) {
    const std::string folder = OrderProbeFolder(root);
    switch (failed.code()) {
    case EEXIST:
    case ENOTEMPTY:
        // The probe leaves a folder of that name alone when it holds anything of the user's.
        return ErrorMessage(parent, "ProbeFolderTaken", folder);
    case ENOSPC:
        return ErrorMessage(parent, "ProbeNoRoom", folder);
    default:
        break;
    }
    MessageRequest request = ErrorMessage(parent, "ProbeWriteError", folder);
    request.reason = ReasonOf(failed);
    return request;
}

MessageRequest ProbeRemoveFailedMessage(const Status& failed, const std::string& root,
                                        const std::string& parent) {
    MessageRequest request = ErrorMessage(parent, "ProbeRemoveError", OrderProbeFolder(root));
    request.reason = ReasonOf(failed);
    return request;
}

} // namespace tralvo::jobs
