#include "gui/panes/volume_watcher.h"

#include <QSocketNotifier>
#include <algorithm>
#include <fcntl.h>
#include <tuple>

namespace tralvo {
namespace {

bool SameVolume(const Volume& a, const Volume& b) {
    return std::tie(a.mountPoint, a.fileSystemType, a.source) ==
           std::tie(b.mountPoint, b.fileSystemType, b.source);
}

void AddMissing(const std::vector<Volume>& from, const std::vector<Volume>& in,
                std::vector<std::string>& mountPoints) {
    for (const Volume& volume : from) {
        const bool present = std::any_of(
            in.begin(), in.end(), [&](const Volume& other) { return SameVolume(volume, other); });
        if (!present) {
            mountPoints.push_back(volume.mountPoint);
        }
    }
}

} // namespace

std::vector<std::string> ChangedMountPoints(const std::vector<Volume>& before,
                                            const std::vector<Volume>& after) {
    std::vector<std::string> changed;
    AddMissing(before, after, changed);
    AddMissing(after, before, changed);
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    return changed;
}

VolumeWatcher::VolumeWatcher(VolumeSource source, QObject* parent, const std::string& mountTable)
    : QObject(parent), source_(std::move(source)),
      table_(::open(mountTable.c_str(), O_RDONLY | O_CLOEXEC)) {
    volumes_ = source_();
    if (!table_.valid()) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(table_.get()),
                                                  QSocketNotifier::Exception);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        try {
            Check();
        } catch (const std::exception&) {
            // A failed reading leaves the last one in place; the next change tries again.
        }
    });
}

VolumeWatcher::~VolumeWatcher() = default;

void VolumeWatcher::Check() {
    std::vector<Volume> now = source_();
    std::vector<std::string> changed = ChangedMountPoints(volumes_, now);
    if (changed.empty()) {
        return;
    }
    volumes_ = std::move(now);
    emit VolumesChanged(volumes_, changed);
}

} // namespace tralvo
