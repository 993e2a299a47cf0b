#include "arrange/order_probe.h"

#include <cerrno>

// Placeholder until the probe is written: every call fails.
namespace tralvo {

std::optional<ProbeSounds> FindProbeSounds(const std::string&, const std::string&, FileSystem&) {
    return std::nullopt;
}

Status WriteOrderProbe(const std::string&, const ProbeSounds&, FileSystem&, Clock&) {
    return Status::Failure(ENOSYS, "the order probe is not built yet");
}

Status RemoveOrderProbe(const std::string&, FileSystem&) {
    return Status::Ok();
}

PlayerType PlayerTypeForFirstWord(ProbeWord word) {
    switch (word) {
    case ProbeWord::One:
        return PlayerType::DirectoryOrder;
    case ProbeWord::Two:
        return PlayerType::FileNames;
    case ProbeWord::Three:
        return PlayerType::CreationTimes;
    }
    return PlayerType::DirectoryOrder;
}

} // namespace tralvo
